// The text frame: the place of the text and hex viewer, which fills it; until then the
// viewer area stays empty for a file shown as text.
#pragma once

#include <QWidget>

class TFRVwText : public QWidget {
    Q_OBJECT
public:
    explicit TFRVwText(QWidget* parent = nullptr);

    void SetFileName(const QString& path);
    QString FileName() const { return m_fileName; }
    // Stops reading the file and lets it go.
    void Deactivate();

private:
    QString m_fileName;
};
