#include "app/SettingsStore.h"

#include "app/AppSettings.h"
#include "core/MatchWildcard.h"
#include "core/NumberFormat.h"
#include "core/TextOrder.h"
#include "platform/TRegistry.h"
#include "platform/VirtualKeys.h"
#include "viewers/ViewerExtensions.h"

#include <algorithm>
#include <climits>

namespace {

QString key(const QString& sub) { return kSettingsRoot + QLatin1Char('\\') + sub; }

// Deletes every value of the open key.
void clearValues(TRegistry& reg)
{
    for (const QString& name : reg.GetValueNames())
        reg.DeleteValue(name);
}

void clearSubKeys(TRegistry& reg)
{
    for (const QString& name : reg.GetKeyNames())
        reg.DeleteKey(name);
}

// Numbers from the file are clamped to what they can mean before anything computes
// with them: a hand-edited 0x7fffffff must not overflow a product or a window edge.
// Pixel sizes and positions stay within the 16 bits X11 gives them.
constexpr int kMaxPixels = 32767;

int readClamped(TRegistry& reg, const QString& name, int low, int high)
{
    return std::clamp(reg.ReadInteger(name), low, high);
}

template <typename T, typename Read>
void readIfExists(TRegistry& reg, const QString& name, T& target, Read read)
{
    if (reg.ValueExists(name))
        target = read(name);
}

} // namespace

void SettingsStore::LoadSupported(ViewerExtensions& table)
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(QStringLiteral("supported"))))
        return;
    for (const QString& ext : reg.GetValueNames()) {
        const bool enabled = reg.ReadString(ext) != QLatin1String("0");
        if (TViewerExtension* row = table.Find(ext))
            row->Enabled = enabled;
        else
            table.Append(ext, enabled);
    }
}

void SettingsStore::SaveSupported(const ViewerExtensions& table)
{
    TRegistry reg;
    reg.OpenKey(key(QStringLiteral("supported")), true);
    clearValues(reg);
    for (const TViewerExtension& row : table.Rows())
        reg.WriteString(row.Ext, row.Enabled ? QStringLiteral("1") : QStringLiteral("0"));
    reg.CloseKey();
}

// A bookmark is a sub-key named after its folder. Key names cannot hold '\' or a line
// break and are compared without case, while Linux folder names may hold both and
// differ only in case; so '\', '%' and control characters are written as %5C, %25,
// %0A and so on, and a name that would repeat an existing one (in any case) gets a
// "%%N" suffix. Nothing else changes, so the names stay readable.
QString SettingsStore::BookmarkKeyName(const QString& folder, const QStringList& takenLower)
{
    QString name;
    name.reserve(folder.size());
    for (QChar c : folder) {
        if (c == u'%' || c == u'\\' || c.unicode() < 0x20)
            name += u'%' + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        else
            name += c;
    }
    QString unique = name;
    for (int n = 2; takenLower.contains(unique.toLower()); ++n)
        unique = name + QStringLiteral("%%") + QString::number(n);
    return unique;
}

QString SettingsStore::BookmarkFolder(const QString& keyName)
{
    QString name = keyName;
    const int suffix = name.indexOf(QLatin1String("%%"));
    if (suffix >= 0)
        name.truncate(suffix);
    // One pass, and only the codes written above: any other '%' belongs to the folder's
    // name, as in keys written by hand.
    QString folder;
    folder.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const int high = name[i] == u'%' && i + 2 < name.size() ? HexDigitValue(name[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(name[i + 2]) : -1;
        const int code = high * 16 + low;
        if (low >= 0 && (code < 0x20 || code == 0x25 || code == 0x5C)) {
            folder += QChar(char16_t(code));
            i += 2;
        } else {
            folder += name[i];
        }
    }
    return folder;
}

QStringList SettingsStore::LoadBookmarks()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(QStringLiteral("bookmarks"))))
        return {};
    QStringList folders;
    for (const QString& name : reg.GetKeyNames())
        folders << BookmarkFolder(name);
    return folders;
}

void SettingsStore::SaveBookmarks(const QStringList& folders)
{
    // One write of the file at the end: a write per bookmark takes seconds for a few
    // thousand, and a kill meanwhile would leave only some of them.
    TRegistry reg;
    reg.OpenKey(key(QStringLiteral("bookmarks")), true);
    clearSubKeys(reg);
    QStringList taken;
    for (const QString& folder : folders) {
        const QString name = BookmarkKeyName(folder, taken);
        taken << name.toLower();
        reg.OpenKey(QLatin1Char('\\') + key(QStringLiteral("bookmarks\\")) + name, true);
    }
    reg.CloseKey();
}

uint32_t SettingsStore::DecodeModifiers(const QString& words)
{
    uint32_t bits = 0;
    if (MatchWildcard(QStringLiteral("*shift*"), words))
        bits |= hkShift;
    if (MatchWildcard(QStringLiteral("*ctrl*"), words))
        bits |= hkCtrl;
    if (MatchWildcard(QStringLiteral("*alt*"), words))
        bits |= hkAlt;
    if (MatchWildcard(QStringLiteral("*ext*"), words))
        bits |= hkExt;
    return bits;
}

QString SettingsStore::EncodeModifiers(uint32_t bits)
{
    QString words;
    if (bits & hkShift)
        words += QLatin1String("shift ");
    if (bits & hkCtrl)
        words += QLatin1String("ctrl ");
    if (bits & hkAlt)
        words += QLatin1String("alt ");
    if (bits & hkExt)
        words += QLatin1String("ext ");
    return words;
}

void SettingsStore::LoadHotKeys(HotKeyTable& table)
{
    TRegistry reg;
    if (!reg.KeyExists(key(QStringLiteral("HotKeys"))))
        return;
    for (int n = 0; n < 4; ++n) {
        if (!reg.OpenKeyReadOnly(key(QStringLiteral("HotKeys\\key%1").arg(n))))
            continue;
        HotKeyEntry& e = table.Entries[size_t(n)];
        readIfExists(reg, QStringLiteral("VirtKey"), e.VirtKey,
                     [&](const QString& name) { return uint32_t(readClamped(reg, name, 0, 0xFF)); });
        readIfExists(reg, QStringLiteral("modifiers"), e.Modifiers,
                     [&](const QString& name) { return DecodeModifiers(reg.ReadString(name)); });
        reg.CloseKey();
    }
}

void SettingsStore::SaveHotKeys(const HotKeyTable& table)
{
    TRegistry reg;
    for (int n = 0; n < 4; ++n) {
        reg.OpenKey(key(QStringLiteral("HotKeys\\key%1").arg(n)), true);
        reg.WriteInteger(QStringLiteral("VirtKey"), int(table.Entries[size_t(n)].VirtKey));
        reg.WriteString(QStringLiteral("modifiers"), EncodeModifiers(table.Entries[size_t(n)].Modifiers));
        reg.CloseKey();
    }
}

std::vector<CoolBand> SettingsStore::LoadCoolBar(std::vector<CoolBand> bands)
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(QStringLiteral("CoolBar1"))))
        return bands;
    const QStringList subKeys = reg.GetKeyNames();
    reg.CloseKey();
    for (const QString& sub : subKeys) {
        auto band = std::find_if(bands.begin(), bands.end(),
                                 [&](const CoolBand& b) { return AsciiUpper(b.Name) == AsciiUpper(sub); });
        if (band == bands.end() || !reg.OpenKeyReadOnly(key(QStringLiteral("CoolBar1\\")) + sub))
            continue;
        readIfExists(reg, QStringLiteral("break"), band->Break, [&](const QString& n) { return reg.ReadBool(n); });
        readIfExists(reg, QStringLiteral("width"), band->Width,
                     [&](const QString& n) { return readClamped(reg, n, 0, kMaxPixels); });
        if (reg.ValueExists(QStringLiteral("position"))) {
            const int position = std::clamp(reg.ReadInteger(QStringLiteral("position")), 0, int(bands.size()) - 1);
            CoolBand moved = *band;
            bands.erase(band);
            bands.insert(bands.begin() + position, moved);
        }
        reg.CloseKey();
    }
    return bands;
}

void SettingsStore::SaveCoolBar(const std::vector<CoolBand>& bands)
{
    TRegistry reg;
    reg.OpenKey(key(QStringLiteral("CoolBar1")), true);
    reg.WriteString(QStringLiteral("BackType"), QStringLiteral("Default"));
    reg.CloseKey();
    for (size_t i = 0; i < bands.size(); ++i) {
        reg.OpenKey(key(QStringLiteral("CoolBar1\\")) + bands[i].Name, true);
        reg.WriteInteger(QStringLiteral("position"), int(i));
        reg.WriteBool(QStringLiteral("break"), bands[i].Break);
        reg.WriteInteger(QStringLiteral("width"), bands[i].Width);
        reg.CloseKey();
    }
}

void SettingsStore::LoadHeaderWidths(const QString& keyName, std::array<int, 4>& widths)
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(keyName)))
        return;
    for (const QString& name : reg.GetValueNames()) {
        if (!MatchWildcard(QStringLiteral("width*"), name))
            continue;
        bool ok = false;
        const int section = name.mid(5).toInt(&ok);
        if (ok && section >= 0 && section < int(widths.size()))
            widths[size_t(section)] = readClamped(reg, name, 0, kMaxPixels);
    }
}

void SettingsStore::SaveHeaderWidths(const QString& keyName, const std::array<int, 4>& widths)
{
    TRegistry reg;
    reg.OpenKey(key(keyName), true);
    for (size_t i = 0; i < widths.size(); ++i)
        reg.WriteInteger(QStringLiteral("width%1").arg(i), widths[i]);
    reg.CloseKey();
}

void SettingsStore::LoadTextView(TextViewSettings& s)
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(QStringLiteral("TextView"))))
        return;
    auto str = [&](const QString& n) { return reg.ReadString(n); };
    auto colour = [&](const QString& n) { return readClamped(reg, n, 0, 0xFFFFFF); };   // 0x00BBGGRR
    readIfExists(reg, QStringLiteral("FontName"), s.FontName, str);
    readIfExists(reg, QStringLiteral("FontSize"), s.FontSize,
                 [&](const QString& n) { return readClamped(reg, n, 4, 24); });
    readIfExists(reg, QStringLiteral("FontFore"), s.FontFore, colour);
    readIfExists(reg, QStringLiteral("FontBack"), s.FontBack, colour);
    readIfExists(reg, QStringLiteral("LinkFore"), s.LinkFore, colour);
    readIfExists(reg, QStringLiteral("TabSize"), s.TabSize,
                 [&](const QString& n) { return readClamped(reg, n, 1, 20); });
    readIfExists(reg, QStringLiteral("PrintPage"), s.PrintPage, [&](const QString& n) { return reg.ReadBool(n); });
}

void SettingsStore::SaveTextView(const TextViewSettings& s)
{
    TRegistry reg;
    reg.OpenKey(key(QStringLiteral("TextView")), true);
    reg.WriteString(QStringLiteral("FontName"), s.FontName);
    reg.WriteInteger(QStringLiteral("FontSize"), s.FontSize);
    reg.WriteInteger(QStringLiteral("FontFore"), s.FontFore);
    reg.WriteInteger(QStringLiteral("FontBack"), s.FontBack);
    reg.WriteInteger(QStringLiteral("LinkFore"), s.LinkFore);
    reg.WriteInteger(QStringLiteral("TabSize"), s.TabSize);
    reg.WriteBool(QStringLiteral("PrintPage"), s.PrintPage);
    reg.CloseKey();
}

std::optional<WindowPlacement> SettingsStore::LoadPlacement()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key(QStringLiteral("MainForm"))))
        return std::nullopt;
    auto number = [&](const QString& name, int fallback, int low, int high) {
        if (!reg.ValueExists(name))
            return fallback;
        bool ok = false;
        const qlonglong value = reg.ReadString(name).trimmed().toLongLong(&ok);
        return ok ? int(std::clamp<qlonglong>(value, low, high)) : fallback;
    };
    WindowPlacement p;
    p.Left = number(QStringLiteral("Left"), 0, -kMaxPixels, kMaxPixels);
    p.Top = number(QStringLiteral("Top"), 0, -kMaxPixels, kMaxPixels);
    p.Width = number(QStringLiteral("Width"), 0, 0, kMaxPixels);
    p.Height = number(QStringLiteral("Height"), 0, 0, kMaxPixels);
    // Named states, not amounts: a value of none of them already means normal.
    p.State = number(QStringLiteral("State"), 1, INT_MIN, INT_MAX);
    p.RestoreToMax = number(QStringLiteral("RestoreToMax"), 0, INT_MIN, INT_MAX) != 0;
    return p;
}

void SettingsStore::SavePlacement(const WindowPlacement& p)
{
    TRegistry reg;
    reg.OpenKey(key(QStringLiteral("MainForm")), true);
    reg.WriteString(QStringLiteral("Left"), QString::number(p.Left));
    reg.WriteString(QStringLiteral("Top"), QString::number(p.Top));
    reg.WriteString(QStringLiteral("Width"), QString::number(p.Width));
    reg.WriteString(QStringLiteral("Height"), QString::number(p.Height));
    reg.WriteString(QStringLiteral("State"), QString::number(p.State));
    reg.WriteString(QStringLiteral("RestoreToMax"), p.RestoreToMax ? QStringLiteral("1") : QStringLiteral("0"));
    reg.CloseKey();
}
