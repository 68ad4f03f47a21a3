// The local-time source: the platform's date and time fields, and the time a test sets.
#include "platform/Clock.h"

#include <QDateTime>
#include <QtTest>

class TestLocalTime : public QObject
{
    Q_OBJECT
private slots:
    void fakeTimeGivesItsFields_data()
    {
        QTest::addColumn<int>("advance");
        QTest::addColumn<QList<int>>("fields"); // year month weekday day hour minute second
        QTest::newRow("as set") << 0 << QList<int>{2009, 3, 6, 7, 14, 5, 9};
        QTest::newRow("across midnight") << 35 * 3600 << QList<int>{2009, 3, 1, 9, 1, 5, 9};
        QTest::newRow("across a year") << 300 * 86400 << QList<int>{2010, 1, 5, 1, 14, 5, 9};
    }
    void fakeTimeGivesItsFields()
    {
        QFETCH(int, advance);
        QFETCH(QList<int>, fields);
        TFakeLocalTime fake(2009, 3, 7, 14, 5, 9);
        fake.AdvanceSeconds(advance);
        const TSystemTime t = GetLocalTime();
        QCOMPARE((QList<int>{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond}), fields);
    }

    void realTimeOnceTheFakeIsGone()
    {
        {
            TFakeLocalTime fake(1999, 12, 31, 23, 59, 59);
            QCOMPARE(GetLocalTime().wYear, uint16_t(1999));
        }
        const QDateTime now = QDateTime::currentDateTime();
        const TSystemTime t = GetLocalTime();
        QCOMPARE(int(t.wYear), now.date().year());
        QCOMPARE(int(t.wMonth), now.date().month());
        QCOMPARE(int(t.wDayOfWeek), now.date().dayOfWeek() % 7);
    }
};

QTEST_MAIN(TestLocalTime)
#include "tst_localtime.moc"
