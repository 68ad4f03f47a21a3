// The thread timer: ticks paced by a worker, delivered on the user-interface thread, and a stop that holds.
#include "engine/ThreadTimer.h"
#include "platform/Clock.h"

#include <QPointer>
#include <QtTest>

#include <atomic>
#include <vector>

namespace {
// Runs the event loop until the condition holds or the time is up.
template <typename F> bool WaitFor(F condition, int ms = 3000)
{
    return QTest::qWaitFor(condition, ms);
}
} // namespace

class TestThreadTimer : public QObject
{
    Q_OBJECT

private slots:
    // The first tick comes at once, not after an interval: within half of one, so a busy machine's delay
    // is not taken for a wait.
    void firstTickAtOnceOnTheUiThread()
    {
        TThreadTimer timer;
        timer.SetInterval(4000);
        QThread* tickThread = nullptr;
        QObject* sender = nullptr;
        const uint32_t start = GetTickCount();
        uint32_t firstTick = 0;
        timer.SetOnTimer([&](QObject* s) {
            tickThread = QThread::currentThread();
            sender = s;
            firstTick = GetTickCount();
        });
        timer.SetEnabled(true);
        QVERIFY(WaitFor([&] { return firstTick != 0; }, 2000));
        QCOMPARE(tickThread, QThread::currentThread());
        QCOMPARE(sender, &timer);
        QVERIFY2(TickDiff(firstTick, start) < 2000, qPrintable(QString::number(TickDiff(firstTick, start))));
        timer.SetEnabled(false);
    }

    void enablingTwiceStartsOneWorker()
    {
        TThreadTimer timer;
        timer.SetOnTimer([](QObject*) {});
        timer.SetEnabled(true);
        TTimerThread* first = timer.TimerThread();
        QVERIFY(first);
        timer.SetEnabled(true);
        QCOMPARE(timer.TimerThread(), first);
        QVERIFY(timer.Enabled());
        timer.SetEnabled(false);
        QVERIFY(!timer.TimerThread());
        QVERIFY(!timer.Enabled());
        timer.SetEnabled(false);
    }

    // Ticks start every Interval counted from the previous tick's start, the handler's time included: the
    // period is the longer of the two, where a timer that waited Interval after the handler would take their
    // sum. A busy machine only adds delay, and each tick reaches the handler a little after the worker took
    // its start time, so single gaps jitter; the mean gap is bounded from below by the period less that
    // jitter and from above by the midpoint to the wrong period.
    void periodCountsFromEachTickStart_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("work");
        QTest::newRow("handler shorter than interval") << 150 << 100;
        QTest::newRow("handler longer than interval") << 100 << 150;
    }
    void periodCountsFromEachTickStart()
    {
        QFETCH(int, interval);
        QFETCH(int, work);
        const int period = qMax(interval, work);
        const int wrongPeriod = interval + work;
        TThreadTimer timer;
        timer.SetInterval(interval);
        std::vector<uint32_t> starts;
        timer.SetOnTimer([&](QObject*) {
            starts.push_back(GetTickCount());
            QThread::msleep(work);
        });
        timer.SetEnabled(true);
        QVERIFY(WaitFor([&] { return starts.size() >= 7; }, 10000));
        timer.SetEnabled(false);
        const double mean = TickDiff(starts.back(), starts.front()) / double(starts.size() - 1);
        QVERIFY2(
            mean >= period - 20 && mean < (period + wrongPeriod) / 2.0,
            qPrintable(QStringLiteral("mean gap %1 ms, period %2, not %3").arg(mean).arg(period).arg(wrongPeriod)));
    }

    // The worker may be asleep, or already waiting to deliver a tick: neither may reach the handler.
    void noTickAfterDisable_data()
    {
        QTest::addColumn<int>("delayBeforeStop");
        QTest::newRow("during the sleep") << 30;
        QTest::newRow("tick already queued") << 0;
    }
    void noTickAfterDisable()
    {
        QFETCH(int, delayBeforeStop);
        TThreadTimer timer;
        timer.SetInterval(5);
        std::atomic<int> ticks{0};
        bool stopped = false;
        bool lateTick = false;
        timer.SetOnTimer([&](QObject*) {
            if (stopped) lateTick = true;
            ++ticks;
        });
        for (int round = 0; round < 20; ++round) {
            timer.SetEnabled(true);
            QVERIFY(WaitFor([&] { return ticks > 0; }));
            // Block the user-interface thread so the worker queues its next tick, then stop.
            QThread::msleep(delayBeforeStop ? delayBeforeStop : 20);
            timer.SetEnabled(false);
            stopped = true;
            QTest::qWait(30); // deliver whatever the worker had queued
            QVERIFY(!lateTick);
            stopped = false;
            ticks = 0;
        }
    }

    void handlerMayStopItsOwnTimer()
    {
        TThreadTimer timer;
        timer.SetInterval(5);
        int ticks = 0;
        timer.SetOnTimer([&](QObject*) {
            ++ticks;
            timer.SetEnabled(false);
        });
        timer.SetEnabled(true);
        QVERIFY(WaitFor([&] { return ticks > 0; }));
        QTest::qWait(100); // five intervals for a tick that should not come
        QCOMPARE(ticks, 1);
    }

    void destroyingARunningTimerEndsItsWorker()
    {
        auto* timer = new TThreadTimer;
        timer->SetInterval(20);
        int ticks = 0;
        timer->SetOnTimer([&](QObject*) { ++ticks; });
        timer->SetEnabled(true);
        QVERIFY(WaitFor([&] { return ticks > 0; }));
        QPointer<TTimerThread> worker = timer->TimerThread();
        QThread::msleep(30); // let a tick wait for delivery to the destroyed timer
        delete timer;
        const int seen = ticks;
        QVERIFY(WaitFor([&] { return worker.isNull(); })); // ended on its own and freed itself
        QCOMPARE(ticks, seen);
    }

    void failingHandlerKeepsTicking()
    {
        TThreadTimer timer;
        timer.SetInterval(5);
        int ticks = 0;
        timer.SetOnTimer([&](QObject*) {
            ++ticks;
            throw std::runtime_error("handler failed");
        });
        timer.SetEnabled(true);
        QVERIFY(WaitFor([&] { return ticks >= 3; }));
        timer.SetEnabled(false);
    }

    void workerThreadDeliveryWhenNotSynchronised()
    {
        TThreadTimer timer;
        timer.SetInterval(5);
        timer.SetSyncTimerEvent(false);
        std::atomic<QThread*> where{nullptr};
        std::atomic<bool> running{false};
        std::atomic<bool> lateTick{false};
        std::atomic<bool> stopped{false};
        timer.SetOnTimer([&](QObject*) {
            if (stopped) lateTick = true;
            running = true;
            where = QThread::currentThread();
            QThread::msleep(20);
            running = false;
        });
        timer.SetEnabled(true);
        QVERIFY(WaitFor([&] { return where.load() != nullptr; }));
        QVERIFY(where.load() != QThread::currentThread());
        QVERIFY(WaitFor([&] { return running.load(); }));
        timer.SetEnabled(false); // waits for the running handler
        QVERIFY(!running);
        stopped = true;
        QThread::msleep(50);
        QVERIFY(!lateTick);
    }
};

QTEST_MAIN(TestThreadTimer)
#include "tst_threadtimer.moc"
