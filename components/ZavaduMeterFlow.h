#pragma once
// Flowing blocks of the speed meter: chunks that stand for a total and drift across the chart, each with
// a column of small blocks whose own speeds decide when the chunk has left. Positions are fractions of the
// chart, so a resize keeps them; time comes from the injectable tick clock.

#include <cstdint>
#include <vector>

enum TFlowBlockDirection { fdLeftToRight, fdRightToLeft, fdBottomToTop, fdTopToBottom };

// What the chunks read from the meter that owns them.
class TFlowHost
{
public:
    virtual ~TFlowHost() = default;
    virtual TFlowBlockDirection FlowDirection() const = 0;
    virtual float FlowBlockPortion() const = 0;
    virtual int FlowBlockSize() const = 0;
    virtual float CenterVelocity() const = 0;
    virtual int MovingBlockTimeSpan() const = 0;
    virtual int FlowVelocity() const = 0;
    virtual bool SwingingFlow() const = 0;
    // The chart rectangle (right and bottom exclusive).
    virtual void FlowChartRect(int& left, int& top, int& right, int& bottom) const = 0;
};

struct TMovingBlock
{
    float xRatio = 0, yRatio = 0;
    float xVelocity = 0, yVelocity = 0;
    float initX = 0, initY = 0;
};

class TMovingBlockChunkList;

class TMovingBlockChunk
{
public:
    explicit TMovingBlockChunk(TMovingBlockChunkList* AOwner);
    ~TMovingBlockChunk();
    TMovingBlockChunk(const TMovingBlockChunk&) = delete;
    TMovingBlockChunk& operator=(const TMovingBlockChunk&) = delete;

    void SetValue(int value);
    int Value() const { return FValue; }
    void BuildBlocks(int maxValue);
    void Step(double elapsed, float velocity);
    bool HasLeftChart() const;
    int Count() const { return int(FList.size()); }
    TMovingBlock* Blocks(int index) const;
    void ClearBlocks();
    float State() const { return FState; }

    float xRatio = 0, yRatio = 0;

private:
    friend class TMovingBlockChunkList;
    std::vector<TMovingBlock*> FList;
    float FState = 0;
    int FValue = 0;
    TMovingBlockChunkList* FOwner;
};

// Where a chunk is drawn on one frame: centre and ring radius.
struct TChunkPlace
{
    int X = 0, Y = 0, A = 0;
};

class TMovingBlockChunkList
{
public:
    explicit TMovingBlockChunkList(TFlowHost* AOwner);
    ~TMovingBlockChunkList();
    TMovingBlockChunkList(const TMovingBlockChunkList&) = delete;
    TMovingBlockChunkList& operator=(const TMovingBlockChunkList&) = delete;

    TMovingBlockChunk* AddChunk(int Value);
    void Resize(int width, int height, int maxValue);
    void Step(int velocity);
    int Count() const { return int(FList.size()); }
    TMovingBlockChunk* Items(int index) const;
    void Delete(int index);
    void Clear();
    // Rebuilds every chunk's blocks for the current maximum (the block size changed).
    void RebuildBlocks();

    // Advances the chunk's swing and gives its place in the chart rectangle.
    TChunkPlace Place(TMovingBlockChunk* chunk, int left, int top, int right, int bottom) const;

    int MaxValue() const { return FMaxValue; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TFlowHost* Owner() const { return FOwner; }

private:
    std::vector<TMovingBlockChunk*> FList;
    int FMaxValue = 1;
    int FWidth = 0;
    int FHeight = 0;
    TFlowHost* FOwner;
    uint32_t FTick;
};
