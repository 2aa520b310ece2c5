// The settings store over QSettings: where it keeps the program's keys, that values
// come back as written, and that a store that cannot be written says so.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "core/program/program_setup.h"
#include "core/base/errors.h"
#include "platform/qt_folders.h"
#include "platform/qt_settings_store.h"
#include "support/qnvr_test_main.h"

using namespace qnvr;

class TestSettingsStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir config_;

    QString ConfigFile(const char* name) const { return config_.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }

    void eachRootHasItsOwnFileAndEachKeyItsOwnSection() {
        platform::QtSettingsStore program(SettingsRoot(false));
        platform::QtSettingsStore development(SettingsRoot(true));
        QCOMPARE(QString::fromStdString(program.FileName()), ConfigFile("QNVR/2026.ini"));
        QCOMPARE(QString::fromStdString(development.FileName()), ConfigFile("QNVRTest/2026.ini"));

        QVERIFY(!program.KeyExists("Backup"));
        QCOMPARE(program.ReadString("Backup", "Path"), std::optional<std::string>());
        program.WriteString("Backup", "Path", "/media/usb/Payroll");
        QVERIFY(program.KeyExists("Backup"));
        QVERIFY(!development.KeyExists("Backup"));

        QFile file(ConfigFile("QNVR/2026.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(file.readAll());
        QVERIFY2(written.contains(QStringLiteral("[Backup]")), qPrintable(written));
        QVERIFY2(written.contains(QStringLiteral("Path=/media/usb/Payroll")), qPrintable(written));
    }

    void valuesComeBackAsWrittenInANewStore() {
        const std::string paths[] = {"/home/pat/Documents/QNVR/2026/Data/A & B, Inc.W226",
                                     "/home/pat/x=1;y#2/C:\\odd\\name.W226", "/home/pat/Zoë's Café.W226", ""};
        {
            platform::QtSettingsStore store(SettingsRoot(true));
            for (int k = 0; k < 4; ++k) store.WriteString("RecentFiles", std::to_string(k), paths[k]);
            store.WriteString("RecentFiles", "9", "gone");
            store.DeleteValue("RecentFiles", "9");
        }
        platform::QtSettingsStore store(SettingsRoot(true));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(store.ReadString("RecentFiles", std::to_string(k)), std::optional<std::string>(paths[k]));
        QCOMPARE(store.ReadString("RecentFiles", "9"), std::optional<std::string>());
    }

    void aStoreThatCannotBeWrittenSaysSo() {
        QDir().mkpath(ConfigFile("QNVRBroken/2026.ini"));  // a folder where the file should be
        platform::QtSettingsStore store("Software\\QNVRBroken\\2026\\");
        QVERIFY_THROWS_EXCEPTION(EQnvrException, store.WriteString("Backup", "Path", "/media/usb"));
    }

    void theProgramFolderComesFromTheEnvironmentWhenSet() {
        QTemporaryDir program;
        qputenv("QNVR_PROGRAM_DIR", program.path().toLocal8Bit());
        QCOMPARE(QString::fromStdString(platform::QtFolders().ProgramDir()), program.path() + QLatin1Char('/'));
        qunsetenv("QNVR_PROGRAM_DIR");
        QCOMPARE(QString::fromStdString(platform::QtFolders().ProgramDir()), QCoreApplication::applicationDirPath() + '/');
        for (const char* value : {"1", "yes"}) {
            qputenv("QNVR_DEVELOPMENT", value);
            QVERIFY(platform::DevelopmentEnvironment());
        }
        for (const char* value : {"", "0"}) {
            qputenv("QNVR_DEVELOPMENT", value);
            QVERIFY(!platform::DevelopmentEnvironment());
        }
        qunsetenv("QNVR_DEVELOPMENT");
    }
};

QNVR_TEST_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
