// Holds one file inside the window that owns it (the empty-zip template). Loading the
// held bytes writes them to a fresh file in the program's private temporary folder,
// which lives as long as the component keeps it; storing reads a file back into bytes.
#pragma once

#include "zip/EFileSourceError.h"

#include <QByteArray>
#include <QString>

class TFileSource {
public:
    // `name` is the component's name, the start of its error texts.
    explicit TFileSource(const QString& name);
    ~TFileSource();
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;

    const QString& Name() const { return m_name; }

    QString DisplayLabel;
    QString Extension;      // with its dot (".zip"); ends the temporary file's name

    bool Compress() const { return m_compress; }
    void SetCompress(bool compress);        // compressed data must be stored
    bool Store() const { return m_store; }
    void SetStore(bool store) { m_store = store; }

    // The file's path, or "" once it no longer exists.
    QString FileName() const;
    // Deletes the temporary file the component made, then holds `path` (not its own,
    // never deleted by it) and takes its extension.
    void SetFileName(const QString& path);

    // The held file's bytes: a 32-bit little-endian length and the bytes, or with
    // Compress a TCompressStream. Raises EFileSourceError when the file cannot be read.
    QByteArray FileData() const;
    // Writes the bytes of `fileData` (read as Compress says) to a new temporary file
    // and holds it. Raises ECompressError (EFileSourceError among them) when the data
    // is damaged, leaving the component as it was, or when the file cannot be
    // written, leaving it without a file.
    void Load(const QByteArray& fileData);

private:
    QByteArray heldBytes(const QByteArray& fileData) const;
    QByteArray readFile(const QString& path) const;
    QString writeTemporaryFile(const QByteArray& bytes) const;
    void deleteOwnFile();
    EFileSourceError cannotWrite(const QString& path, int code) const;

    QString m_name;
    QString m_fileName;
    bool m_ownsFile = false;
    bool m_compress = false;
    bool m_store = false;
};
