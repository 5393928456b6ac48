// One of the two zip libraries, loaded for one operation and freed when this object
// goes: first from DLLDirectory, then beside the program, then by the bare name through
// the system's library search.
#pragma once

#include <QLibrary>
#include <QString>
#include <memory>

class ZipLibrary {
public:
    enum class Kind { Zip, Unz };

    struct Loaded {
        std::unique_ptr<ZipLibrary> Library;   // null when loading failed
        int ErrorCode = 0;                     // 10604/10602/10603 or 10704/10702/10703
    };
    static Loaded Load(Kind kind, const QString& dllDirectory);
    static QString FileName(Kind kind);

    ~ZipLibrary();
    int Version() const { return m_version; }
    QFunctionPointer Exec() const { return m_exec; }
    QString Path() const { return m_library.fileName(); }

private:
    ZipLibrary() = default;
    static QString Locate(Kind kind, const QString& dllDirectory);

    QLibrary m_library;
    QFunctionPointer m_exec = nullptr;
    int m_version = 0;
};
