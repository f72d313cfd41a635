#include <QTest>

#include "device/device_state.h"
#include "app/window_texts.h"

class TestLang : public QObject
{
    Q_OBJECT

private slots:
    void statusRecord_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("before"); // audio code, sample rate, model, connection
        QTest::addColumn<QStringList>("after");

        const QStringList offEn { "Audio Code", "Sample", "Device", "Disconnected" };
        const QStringList offZh { "音频编码", "采样率", "机型", "未连接" };
        QTest::newRow("off, to English") << 1 << offZh << offEn;
        QTest::newRow("off, to Chinese") << 0 << offEn << offZh;
        QTest::newRow("off, other value") << 2 << offEn << offEn;
        QTest::newRow("off, empty record") << 1 << QStringList { "", "", "", "" } << offEn;

        // A connected device's reported rate and format stay: the stream lock reads them.
        QTest::newRow("on, device values, to English")
            << 1 << QStringList { "PCM", "96kHz", "X1", "已连接" }
            << QStringList { "PCM", "96kHz", "X1", "Connected" };
        QTest::newRow("on, device values, to Chinese")
            << 0 << QStringList { "DSD", "DSD64", "X1", "Connected" }
            << QStringList { "DSD", "DSD64", "X1", "已连接" };
        QTest::newRow("on, placeholders, to English")
            << 1 << QStringList { "音频编码", "采样率", "X1", "已连接" }
            << QStringList { "Audio Code", "Sample", "X1", "Connected" };
        QTest::newRow("on, placeholders, to Chinese")
            << 0 << QStringList { "Audio Code", "Sample", "X1", "Connected" }
            << QStringList { "音频编码", "采样率", "X1", "已连接" };
        QTest::newRow("on, other value") << 2 << QStringList { "PCM", "48kHz", "X1", "Connected" }
                                         << QStringList { "PCM", "48kHz", "X1", "Connected" };
    }
    void statusRecord()
    {
        QFETCH(int, language);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        StatusBarInfo r;
        r.audio_code = before[0];
        r.sample_rate = before[1];
        r.device_model = before[2];
        r.connect_state = before[3];
        applyLanguageToStatus(r, language);
        QCOMPARE(
            (QStringList { r.audio_code, r.sample_rate, r.device_model, r.connect_state }), after);
    }

    void otherLanguageValues()
    {
        // The window's own texts: anything but 1 is Chinese.
        QCOMPARE(mainWindowTexts(2).trayExit, QString("退出"));
        QCOMPARE(mainWindowTexts(-1).importActions, mainWindowTexts(0).importActions);
        QCOMPARE(mainWindowTexts(1).importActions,
            (QStringList { "Target", "SourceFR", "Import Filters" }));
        // Status texts exist only for 0 and 1; the hint is Chinese only for 0.
        QVERIFY(!statusTexts(2));
        QCOMPARE(localConfigHint(2),
            QString("Local config is inactive. Right-click to import to User Config"));
        QCOMPARE(localConfigHint(0), QString("   本地配置不生效，如需应用可右键导入至用户配置   "));
    }

    void deviceEq_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("en 0") << 1 << 0 << "   DeviceEQ:OFF   ";
        QTest::newRow("en 128") << 1 << 128 << "    DeviceEQ:OFF   ";
        QTest::newRow("en 129") << 1 << 129 << "   DeviceEQ:ON   ";
        QTest::newRow("en 193") << 1 << 193 << "   DeviceEQ:ON   ";
        QTest::newRow("en 192") << 1 << 192 << "    DeviceEQ:OFF   ";
        QTest::newRow("en 64") << 1 << 64 << "   DeviceEQ:ON   ";
        QTest::newRow("zh 0") << 0 << 0 << "   设备EQ:关   ";
        QTest::newRow("zh 128") << 0 << 128 << "   设备EQ:关   ";
        QTest::newRow("zh 192") << 0 << 192 << "   设备EQ:关   ";
        QTest::newRow("zh 1") << 0 << 1 << "   设备EQ:开   ";
    }
    void deviceEq()
    {
        QFETCH(int, language);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(deviceEqText(*statusTexts(language), code), text);
    }

    void eqMax()
    {
        QCOMPARE(eqMaxText(*statusTexts(1), 10), QString("   EQ Max NUM:10   "));
        QCOMPARE(eqMaxText(*statusTexts(0), 0), QString("   EQ最大支持段数:0   "));
    }
};

QTEST_GUILESS_MAIN(TestLang)
#include "test_lang.moc"
