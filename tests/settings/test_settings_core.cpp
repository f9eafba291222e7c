// The settings core: what the system-parameter dialog shows for a stored value.

#include "settings/settings_in_force.h"

#include <QtTest>

class TestSettingsCore : public QObject {
    Q_OBJECT
private slots:
    void loadedValues();
};

void TestSettingsCore::loadedValues() {
    QCOMPARE(settings::LoadedCorner(0), std::nullopt);
    QCOMPARE(settings::LoadedCorner(7), std::nullopt);
    QCOMPARE(settings::LoadedCorner(4), std::optional<int32_t>(4));
    QCOMPARE(settings::LoadedSeconds(-3), 0);
    QCOMPARE(settings::LoadedSeconds(10), 10);
    QCOMPARE(settings::LoadedFontSize(0), 70);
    QCOMPARE(settings::LoadedFontSize(200), 150);
    QCOMPARE(settings::LoadedFontSize(5), 20);
}

QTEST_APPLESS_MAIN(TestSettingsCore)
#include "test_settings_core.moc"
