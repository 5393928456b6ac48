// The image viewer's frame: one picture control filling it, pictures fitted to the
// pane and centred. The viewer host hands it a file; it knows nothing of the window.
#pragma once

#include <QWidget>

class TEnhImage;

class TFRVwImage : public QWidget {
    Q_OBJECT
public:
    explicit TFRVwImage(QWidget* parent = nullptr);

    // Shows the file's picture; throws EImageError. The picture of an earlier file
    // never stays behind a failed load.
    void Load(const QString& path);
    void Clear();

    // "WIDTHxHEIGHT pixel" of the picture shown; empty while none is.
    QString Hint() const { return m_hint; }
    TEnhImage* Image() const { return m_image; }

private:
    void SetHint(const QString& hint);

    TEnhImage* m_image;
    QString m_hint;
};
