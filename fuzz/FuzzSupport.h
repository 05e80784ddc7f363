#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property no input may break: the abort makes libFuzzer keep the input.
#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort(); \
        } \
    } while (false)

// A warning from Qt is a fault an input found, such as a regular expression
// that does not compile.
inline const bool qtWarningsAbort = (qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::abort();
}),
    true);

// A copy: Qt may read the terminating zero libFuzzer's buffer lacks.
inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A folder of the run's own, in memory: writing a file syncs it to disk,
// which would take most of the time.
inline QString fuzzFolder()
{
    static const QTemporaryDir folder(QStringLiteral("/dev/shm/dropwell-fuzz-XXXXXX"));
    FUZZ_CHECK(folder.isValid());
    return folder.path();
}

// Whatever `decode` reads, `encode` writes as text that reads back the same.
template <typename Decode, typename Encode>
void checkRoundTrip(const uint8_t* data, size_t size, Decode decode, Encode encode)
{
    const auto record = decode(fuzzBytes(data, size));
    if (!record)
        return;
    const auto back = decode(encode(*record));
    FUZZ_CHECK(back && *back == *record);
}
