#pragma once

// long_document run as a separate program, as the user's own would be.

#include "platform/ScreenCapture.h"
#include "tests/support/Awaited.h"
#include "tests/support/LongDocument.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// A program's start and its arrival on the accessibility bus, also under
// the sanitizers on a busy machine.
inline constexpr int appearsWithinMs = 20000;

// long_document, started for one test and ended with it.
class Document {
public:
    explicit Document(const QStringList& arguments = {}) { process_.start(QStringLiteral(LONG_DOCUMENT_PROGRAM), arguments); }
    ~Document()
    {
        process_.kill();
        process_.waitForFinished();
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Waits until the window is on screen and in the window list.
    [[nodiscard]] bool appear(ScreenCapture& capture)
    {
        return QTest::qWaitFor([&] { return readPage() && findWindow(capture); }, appearsWithinMs);
    }

    bool said(const QByteArray& line)
    {
        output_ += process_.readAllStandardOutput();
        return output_.split('\n').contains(line);
    }

    // Where the window is now, as the window list has it.
    [[nodiscard]] bool findWindow(ScreenCapture& capture)
    {
        const StatusOr<CaptureContent> content = awaited(capture.content());
        for (const CaptureWindow& listed : content.value().windows) {
            if (listed.pid == process_.processId() && listed.title == QLatin1String(LongDocument::title)) {
                window = listed;
                return true;
            }
        }
        return false;
    }

    CaptureWindow window;
    QRect page; // in the window

private:
    bool readPage()
    {
        if (!page.isEmpty())
            return true;
        output_ += process_.readAllStandardOutput();
        static const QRegularExpression pageLine(QStringLiteral("^page (\\d+) (\\d+) (\\d+) (\\d+)$"),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = pageLine.match(QString::fromLatin1(output_));
        if (match.hasMatch())
            page = QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
        return !page.isEmpty();
    }

    QProcess process_;
    QByteArray output_;
};

