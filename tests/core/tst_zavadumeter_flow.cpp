// Flowing blocks: block columns, queueing, stepping with the injected clock, leaving the chart.

#include "components/ZavaduMeterFlow.h"

#include "platform/Clock.h"

#include <QtTest>

namespace {
class TFakeHost : public TFlowHost
{
public:
    TFlowBlockDirection Direction = fdTopToBottom;
    float Portion = 0.8f;
    int Size = 30;
    float Center = 2.0f;
    int TimeSpan = 5000;
    int Velocity = 30;
    bool Swing = true;
    int W = 200, H = 100;

    TFlowBlockDirection FlowDirection() const override { return Direction; }
    float FlowBlockPortion() const override { return Portion; }
    int FlowBlockSize() const override { return Size; }
    float CenterVelocity() const override { return Center; }
    int MovingBlockTimeSpan() const override { return TimeSpan; }
    int FlowVelocity() const override { return Velocity; }
    bool SwingingFlow() const override { return Swing; }
    void FlowChartRect(int& l, int& t, int& r, int& b) const override { l = 0, t = 0, r = W, b = H; }
};
} // namespace

class TestZavaduMeterFlow : public QObject
{
    Q_OBJECT
private slots:
    void blockSpeedsFormATent();
    void zeroValueHasOneBlockOfMinimumSize();
    void queuedChunksWaitOneGapApartWithTheirBlocks();
    void biggerValueRelaysExistingChunks();
    void stepClampsVelocity_data();
    void stepClampsVelocity();
    void chunkLeavesOnlyWhenAllBlocksHave();
    void firstStepCoversTheWholeIdleTime();
    void emptyChartDividesByNothing();
};

void TestZavaduMeterFlow::blockSpeedsFormATent()
{
    TFakeHost host;
    host.Direction = fdTopToBottom;
    host.Size = 40; // width 200 / 40 = 5 blocks for a full value
    TMovingBlockChunkList list(&host);
    list.Resize(200, 100, 10);
    TMovingBlockChunk* c = list.AddChunk(10);
    QCOMPARE(c->Count(), 5);
    QList<float> speeds;
    for (int k = 0; k < 5; ++k)
        speeds << c->Blocks(k)->yVelocity / host.Center;
    QCOMPARE(speeds, (QList<float>{0, 0.5f, 1, 0.5f, 0}));
    QCOMPARE(c->Blocks(0)->xRatio, 1.0f / 6);
    QCOMPARE(c->Blocks(5), nullptr);
}

void TestZavaduMeterFlow::zeroValueHasOneBlockOfMinimumSize()
{
    TFakeHost host;
    TMovingBlockChunkList list(&host);
    TMovingBlockChunk* c = list.AddChunk(0);
    QCOMPARE(c->Count(), 1);
    QCOMPARE(list.Place(c, 0, 0, 200, 100).A, 5);
}

void TestZavaduMeterFlow::queuedChunksWaitOneGapApartWithTheirBlocks()
{
    TFakeHost host;
    host.Direction = fdLeftToRight;
    TMovingBlockChunkList list(&host);
    list.Resize(200, 100, 10);
    list.AddChunk(10);
    TMovingBlockChunk* second = list.AddChunk(10);
    // gap = 5000 ms at 30 px/s = 150 px of a 200 px chart.
    QCOMPARE(second->xRatio, -0.75f);
    for (int k = 0; k < second->Count(); ++k)
        QCOMPARE(second->Blocks(k)->xRatio, second->xRatio);
}

void TestZavaduMeterFlow::biggerValueRelaysExistingChunks()
{
    TFakeHost host;
    host.Direction = fdTopToBottom;
    host.Size = 40;
    TMovingBlockChunkList list(&host);
    list.Resize(200, 100, 10);
    TMovingBlockChunk* first = list.AddChunk(10);
    QCOMPARE(first->Count(), 5);
    list.AddChunk(20);
    QCOMPARE(list.MaxValue(), 20);
    QCOMPARE(first->Count(), 2); // Nearest(10 * 5 / 20) = Nearest(2.5) = 2
    // A smaller maximum alone does not shrink the scale.
    list.Resize(200, 100, 5);
    QCOMPARE(list.MaxValue(), 20);
}

void TestZavaduMeterFlow::stepClampsVelocity_data()
{
    QTest::addColumn<int>("velocity");
    QTest::addColumn<float>("moved");
    QTest::newRow("0 moves at 1") << 0 << 1.0f;
    QTest::newRow("30") << 30 << 30.0f;
    QTest::newRow("5000 moves at 999") << 5000 << 999.0f;
}

void TestZavaduMeterFlow::stepClampsVelocity()
{
    QFETCH(int, velocity);
    QFETCH(float, moved);
    TFakeClock clock;
    TFakeHost host;
    host.Direction = fdLeftToRight;
    host.W = 2000;
    TMovingBlockChunkList list(&host);
    TMovingBlockChunk* c = list.AddChunk(1);
    clock.Advance(1000);
    list.Step(velocity);
    QCOMPARE(list.Count(), 1);
    QCOMPARE(c->xRatio * host.W, moved);
}

void TestZavaduMeterFlow::chunkLeavesOnlyWhenAllBlocksHave()
{
    TFakeClock clock;
    TFakeHost host;
    host.Direction = fdLeftToRight;
    host.Center = 0;
    TMovingBlockChunkList list(&host);
    TMovingBlockChunk* c = list.AddChunk(1);
    c->Blocks(0)->xRatio = 0.5f; // one block held back
    c->xRatio = 2;
    clock.Advance(100);
    list.Step(30);
    QCOMPARE(list.Count(), 1);
    c->Blocks(0)->xRatio = 1;
    list.Step(30);
    QCOMPARE(list.Count(), 0);
}

void TestZavaduMeterFlow::firstStepCoversTheWholeIdleTime()
{
    TFakeClock clock;
    TFakeHost host;
    host.Direction = fdTopToBottom;
    TMovingBlockChunkList list(&host);
    TMovingBlockChunk* c = list.AddChunk(1);
    clock.Advance(2000); // the meter was idle for two seconds
    list.Step(30);
    QCOMPARE(c->yRatio, 0.6f); // 60 px of 100
}

void TestZavaduMeterFlow::emptyChartDividesByNothing()
{
    TFakeClock clock;
    TFakeHost host;
    host.W = 0;
    host.H = 0;
    TMovingBlockChunkList list(&host);
    list.AddChunk(3);
    TMovingBlockChunk* c = list.AddChunk(3);
    QVERIFY(std::isfinite(c->yRatio));
    clock.Advance(90);
    list.Step(30);
    QVERIFY(list.Count() == 0 || std::isfinite(list.Items(0)->yRatio));
}

QTEST_APPLESS_MAIN(TestZavaduMeterFlow)
#include "tst_zavadumeter_flow.moc"
