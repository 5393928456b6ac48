#include "app/AppSettings.h"

#include "platform/TRegistry.h"

#include <algorithm>
#include <optional>

namespace {

const QString kCfgKey = kSettingsRoot + QStringLiteral("\\cfg");

// One table drives reading and writing, so the two never disagree on a name.
template <typename Settings, typename Visit>
void forEachValue(Settings& s, Visit visit)
{
    visit(QStringLiteral("QuitType"), s.QuitType);
    visit(QStringLiteral("ShowBigSize"), s.ShowBigSize);
    visit(QStringLiteral("ShowAttrs"), s.ShowAttrs);
    visit(QStringLiteral("ShowListHints"), s.ShowListHints);
    visit(QStringLiteral("ShowDrives"), s.ShowDrives);
    visit(QStringLiteral("ShowZipComment"), s.ShowZipComment);
    visit(QStringLiteral("ShowSupported"), s.ShowSupported);
    visit(QStringLiteral("FastZipMove"), s.FastZipMove);
    visit(QStringLiteral("UseAsyncShell"), s.UseAsyncShell);
    visit(QStringLiteral("MonFoldChanges"), s.MonFoldChanges);
    visit(QStringLiteral("MonRootSubDirs"), s.MonRootSubDirs);
    visit(QStringLiteral("MonFoldDelay"), s.MonFoldDelay);
    visit(QStringLiteral("HideDescription"), s.HideDescription);
    visit(QStringLiteral("HideHidden"), s.HideHidden);
    visit(QStringLiteral("HideExtra"), s.HideExtra);
}

// A damaged value keeps its default without costing the values after it; the first
// error is raised once everything readable has been read.
struct Reader {
    TRegistry& reg;
    std::optional<ERegistryException>& firstError;
    template <typename T, typename Read>
    void read(const QString& name, T& v, Read readValue) const
    {
        if (!reg.ValueExists(name))
            return;
        try {
            v = readValue(name);
        } catch (const ERegistryException& e) {
            if (!firstError)
                firstError = e;
        }
    }
    void operator()(const QString& name, int& v) const
    {
        read(name, v, [this](const QString& n) { return reg.ReadInteger(n); });
    }
    void operator()(const QString& name, bool& v) const
    {
        read(name, v, [this](const QString& n) { return reg.ReadBool(n); });
    }
};

struct Writer {
    TRegistry& reg;
    void operator()(const QString& name, const int& v) const { reg.WriteInteger(name, v); }
    void operator()(const QString& name, const bool& v) const { reg.WriteBool(name, v); }
};

} // namespace

bool AppSettings::Load()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(kCfgKey))
        return false;
    std::optional<ERegistryException> firstError;
    forEachValue(*this, Reader{reg, firstError});
    // At most the dialog's 999 (0, reporting at once, stays possible): the monitors
    // multiply it by 100, which a hand-edited value must not overflow. QuitType is a
    // choice, not an amount, and any value but 0..3 already has its meaning (quit).
    MonFoldDelay = std::clamp(MonFoldDelay, 0, 999);
    if (firstError)
        throw *firstError;
    return true;
}

void AppSettings::Save() const
{
    TRegistry reg;
    reg.OpenKey(kCfgKey, true);
    forEachValue(*this, Writer{reg});
    reg.CloseKey();
}
