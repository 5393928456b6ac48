// The program's own temporary folder: <temp>/dorvane-<uid>, mode 0700, owned by the
// user and never a link. In the shared temporary folder anyone could plant a file or
// a link under a predictable name; inside this one only the user can.
#pragma once

#include <QString>

class PrivateTempFolder {
public:
    // The folder, made when missing; empty with *error set when it cannot be made or
    // is not what it must be (someone else's, a link, open to others).
    static QString Path(QString* error = nullptr);
    // A folder below it ("zpttmp/vw"), made with mode 0700 as needed.
    static QString Subfolder(const QString& relative, QString* error = nullptr);
};
