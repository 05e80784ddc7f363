// The German translation: complete, and reaching the texts of every layer.

#include "core/ExpiryNotify.h"
#include "tests/support/TestSupport.h"
#include "translations/UserLanguage.h"
#include "ui/popover/EmptyInbox.h"
#include "ui/settings/AutoDeletePane.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QStringList labelTexts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyMessageIsTranslated()
    {
        QFile file(QStringLiteral(DROPWELL_SOURCE_DIR "/translations/dropwell_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader ts(&file);
        int messages = 0;
        while (!ts.atEnd()) {
            if (ts.readNext() != QXmlStreamReader::StartElement || ts.name() != QLatin1String("translation"))
                continue;
            ++messages;
            const QString type = ts.attributes().value(QLatin1String("type")).toString();
            QVERIFY2(type.isEmpty() && !ts.readElementText().isEmpty(), qPrintable(QStringLiteral("a %1 message").arg(type)));
        }
        QVERIFY(!ts.hasError());
        QVERIFY(messages > 100);
    }

    void germanReachesEveryLayer()
    {
        installTranslations(QLocale(QLocale::German, QLocale::Germany));
        TestWorld world;
        const auto model = world.makeModel();
        world.fileManager.nextChoice = world.folders().inbox();
        model->setKeepDestination(KeepDestination::Other);
        QCOMPARE(model->toast(), QStringLiteral("Wähl einen Ordner zum Behalten außerhalb der Dropwell-Ordner Inbox und Expired."));
        QCOMPARE(ExpiryNotify::body(2, 1), QStringLiteral("2 Dateien sind abgelaufen. 1 weitere läuft bald ab."));
        QVERIFY(labelTexts(AutoDeletePane(*model)).contains(QStringLiteral("Alles andere")));
        QVERIFY(labelTexts(EmptyInbox(*model)).contains(QStringLiteral("Die Inbox ist leer")));
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
