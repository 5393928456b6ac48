// The freedesktop.org Trash, version 1.0: an item is renamed into the trash
// folder of its own volume, with an info/NAME.trashinfo file that says where it came
// from and when, so any desktop's trash can list and restore it.
//
// Home trash: $XDG_DATA_HOME/Trash (made with mode 0700 when missing). Items on other
// volumes go to $topdir/.Trash/$uid (when the administrator prepared a sticky .Trash)
// or $topdir/.Trash-$uid. Nothing is ever copied: a volume without a usable trash
// folder gives NoTrash, and the caller decides whether to delete for good.
// Safe on any thread.
#pragma once

#include <QString>

class TrashCan {
public:
    // HoldsMount: a folder with another file system mounted in it (or on it) stays
    // where it is, as the mount would travel into the trash and emptying the trash
    // would delete the mounted files.
    enum class Outcome { Trashed, NoTrash, Failed, HoldsMount };
    struct Result {
        Outcome Status = Outcome::Failed;
        int Error = 0;          // errno for Failed
        QString Where;          // Trashed: where the item now is; HoldsMount: the mount in it
    };

    // Moves a file or folder (a link itself, never what it points to) to the trash.
    static Result Move(const QString& path);
};
