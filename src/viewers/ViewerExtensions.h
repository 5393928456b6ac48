// The table of extensions the internal viewers take: built-in kinds (images, media,
// text, VOX, archives) and extensions the user added to be shown as text. At most 100
// rows. Read by pane drawing, the viewer host, the configuration and the installer.
#pragma once

#include <QString>
#include <vector>

struct TViewerExtension {
    QString Ext;                 // ".BMP": leading dot, upper case, at most 9 characters
    bool Enabled = true;         // viewed internally when the user asks to view it
    bool BuiltIn = false;        // one of the built-in kinds; else shown as text
    bool AssociateByDefault = false;
    int IconIndex = 0;
};

class ViewerExtensions {
public:
    static constexpr int kCapacity = 100;

    ViewerExtensions();          // the 14 initial rows

    const std::vector<TViewerExtension>& Rows() const { return m_rows; }
    int Count() const { return int(m_rows.size()); }
    TViewerExtension* Find(const QString& ext);
    // Appends a row (text given a leading dot, upper-cased, cut to 9 characters);
    // false when the table is full.
    bool Append(const QString& ext, bool enabled, bool builtIn = false);

    // True when an enabled row has the file name's upper-cased extension.
    bool IsViewable(const QString& fileName) const;
    // 1 for ".ZIP", else the IconIndex of the last row with that extension, else 0.
    int IconIndexOf(const QString& ext) const;

    static QString NormalizedExt(const QString& text);

private:
    std::vector<TViewerExtension> m_rows;
};
