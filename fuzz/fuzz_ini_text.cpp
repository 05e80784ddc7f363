// An INI file edited one key at a time. The input's first three lines are the
// group, key and value to set, the rest is the file.
#include "fuzz/FuzzSupport.h"
#include "platform/linux/IniText.h"

namespace {

// A key that reads back as a key, not as a header, a comment or another key.
bool isWritableKey(const QByteArray& key)
{
    return !key.isEmpty() && key == key.trimmed() && !key.contains('=') && !key.startsWith('[') && !key.startsWith('#')
        && !key.startsWith(';');
}

// How many lines of `before` and of `after` lie between the lines they share
// at their start and at their end.
std::pair<qsizetype, qsizetype> changedLines(const QList<QByteArray>& before, const QList<QByteArray>& after)
{
    qsizetype start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < before.size() - start && end < after.size() - start
        && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {before.size() - start - end, after.size() - start - end};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    const qsizetype groupEnd = input.indexOf('\n');
    const qsizetype keyEnd = input.indexOf('\n', groupEnd + 1);
    const qsizetype valueEnd = input.indexOf('\n', keyEnd + 1);
    if (groupEnd < 0 || keyEnd < 0 || valueEnd < 0)
        return 0;
    const QByteArray group = input.left(groupEnd);
    const QByteArray key = input.mid(groupEnd + 1, keyEnd - groupEnd - 1);
    const QByteArray value = input.mid(keyEnd + 1, valueEnd - keyEnd - 1);
    const QByteArray text = input.mid(valueEnd + 1);

    auto ini = IniText::parse(text);
    if (!ini)
        return 0;
    FUZZ_CHECK(ini->text() == text);
    if (!isWritableKey(key))
        return 0;
    ini->setValue(group, key, value);
    const QByteArray edited = ini->text();
    const auto reread = IniText::parse(edited);
    FUZZ_CHECK(reread && reread->value(group, key) == value.trimmed());
    // One line changed in place, or the key added with at most a blank line
    // and its group's header: everything else byte for byte.
    const auto [removed, added] = changedLines(text.split('\n'), edited.split('\n'));
    FUZZ_CHECK(removed <= 1 && added <= 3 && (removed == 0 || added == 1));
    return 0;
}
