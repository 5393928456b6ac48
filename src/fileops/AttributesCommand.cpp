#include "fileops/AttributesCommand.h"

#include "fileops/TDlgAttributes.h"
#include "platform/FileAttributes.h"
#include "platform/TMessages.h"

#include <QCoreApplication>
#include <QDialog>

namespace {

void warn(const QString& text, const QString& name, QWidget* parent)
{
    // A line break between the text and the name, as the message has always shown it.
    TMessages::Show(MsgKind::Warning, text + QLatin1Char('\n') + name, MsgButtons::Ok, parent);
}

} // namespace

AttributeResults ApplyAttributes(const std::vector<AttributeEntry>& entries, const AttributeMasks& masks,
                                 QWidget* parent)
{
    AttributeResults results;
    results.reserve(entries.size());
    for (const AttributeEntry& entry : entries) {
        uint32_t current = 0;
        if (!ReadFileAttributes(entry.Path, &current)) {
            warn(QCoreApplication::translate("AttributesCommand", "An error occurred retrieving attributes for"),
                 entry.Name, parent);
            results.emplace_back();
            continue;
        }
        const uint32_t wanted = masks.Apply(current);
        if (!WriteFileAttributes(entry.Path, wanted, nullptr)) {
            warn(QCoreApplication::translate("AttributesCommand", "An error occurred setting attributes for"),
                 entry.Name, parent);
            results.emplace_back();
            continue;
        }
        // Read back: a name starting with '.' stays hidden whatever was asked, and the
        // pane should show what the file really has.
        uint32_t now = wanted;
        ReadFileAttributes(entry.Path, &now);
        results.emplace_back(now);
    }
    return results;
}

AttributeResults RunAttributesCommand(const std::vector<AttributeEntry>& entries, QWidget* parent)
{
    if (entries.empty())
        return {};
    std::vector<uint32_t> stored;
    stored.reserve(entries.size());
    for (const AttributeEntry& entry : entries) {
        if (entry.Name == QLatin1String("..")) {
            TMessages::Show(MsgKind::Information,
                            QCoreApplication::translate("AttributesCommand",
                                                        "Attributes are supported only for files and true directories."),
                            MsgButtons::Ok, parent);
            return {};
        }
        stored.push_back(entry.Attributes);
    }

    const AttributeSelection selection(stored);
    TDlgAttributes dialog(parent);
    dialog.SetStates(selection.Initial());
    if (ShowModal(dialog) != QDialog::Accepted)
        return {};
    return ApplyAttributes(entries, selection.Masks(dialog.States()), parent);
}
