#include "components/ZavaduMeterFlow.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cmath>

namespace {
bool IsHorizontal(TFlowBlockDirection d)
{
    return d == fdLeftToRight || d == fdRightToLeft;
}

// The chart's size; an empty chart counts as one pixel so that no ratio becomes infinite.
void ChartSize(const TFlowHost* host, float& w, float& h)
{
    int l = 0, t = 0, r = 0, b = 0;
    host->FlowChartRect(l, t, r, b);
    w = float(std::max(1, r - l));
    h = float(std::max(1, b - t));
}

constexpr float kPi = 3.14159265358979f;
} // namespace

TMovingBlockChunk::TMovingBlockChunk(TMovingBlockChunkList* AOwner) : FOwner(AOwner) {}

TMovingBlockChunk::~TMovingBlockChunk()
{
    ClearBlocks();
}

void TMovingBlockChunk::SetValue(int value)
{
    FValue = value;
    BuildBlocks(FOwner->MaxValue());
}

void TMovingBlockChunk::BuildBlocks(int maxValue)
{
    ClearBlocks();
    const TFlowHost* host = FOwner->Owner();
    const TFlowBlockDirection dir = host->FlowDirection();
    const double size = std::max(1, host->FlowBlockSize());
    const double base =
        IsHorizontal(dir) ? FOwner->Height() * double(host->FlowBlockPortion()) / size : FOwner->Width() / size;
    int c = int(std::nearbyint(FValue * base / std::max(1, maxValue)));
    if (c <= 0) c = 1;
    int d = c / 2;
    if (d == 0) d = 1;
    for (int k = 0; k < c; ++k) {
        auto* b = new TMovingBlock;
        const float f = float(k + 1) / float(c + 1);
        const float g = host->CenterVelocity() * float(d - std::abs(d - k)) / float(d);
        if (IsHorizontal(dir)) {
            b->xRatio = xRatio;
            b->yRatio = f;
            b->xVelocity = g;
        } else {
            b->xRatio = f;
            b->yRatio = yRatio;
            b->yVelocity = g;
        }
        b->initX = b->xRatio;
        b->initY = b->yRatio;
        FList.push_back(b);
    }
}

void TMovingBlockChunk::Step(double elapsed, float v)
{
    float w = 1, h = 1;
    ChartSize(FOwner->Owner(), w, h);
    const float t = float(elapsed / 1000.0);
    const TFlowBlockDirection dir = FOwner->Owner()->FlowDirection();
    switch (dir) {
    case fdLeftToRight:
        xRatio += v / w * t;
        break;
    case fdRightToLeft:
        xRatio -= v / w * t;
        break;
    case fdBottomToTop:
        yRatio -= t * v / h;
        break;
    case fdTopToBottom:
        yRatio += t * v / h;
        break;
    }
    for (TMovingBlock* b : FList) {
        switch (dir) {
        case fdLeftToRight:
            b->xRatio += (v + b->xVelocity) / w * t;
            b->yRatio += b->yVelocity;
            break;
        case fdRightToLeft:
            b->xRatio -= (v + b->xVelocity) / w * t;
            b->yRatio += b->yVelocity;
            break;
        case fdBottomToTop:
            b->yRatio -= t * (v + b->yVelocity) / h;
            b->xRatio += b->xVelocity;
            break;
        case fdTopToBottom:
            b->yRatio += t * (v + b->yVelocity) / h;
            b->xRatio += b->xVelocity;
            break;
        }
    }
}

bool TMovingBlockChunk::HasLeftChart() const
{
    const TFlowBlockDirection dir = FOwner->Owner()->FlowDirection();
    for (const TMovingBlock* b : FList) {
        const bool short_ = (dir == fdLeftToRight && b->xRatio < 1) || (dir == fdRightToLeft && b->xRatio > 0) ||
                            (dir == fdBottomToTop && b->yRatio > 0) || (dir == fdTopToBottom && b->yRatio < 1);
        if (short_) return false;
    }
    return true;
}

TMovingBlock* TMovingBlockChunk::Blocks(int index) const
{
    return index >= 0 && index < Count() ? FList[size_t(index)] : nullptr;
}

void TMovingBlockChunk::ClearBlocks()
{
    for (TMovingBlock* b : FList)
        delete b;
    FList.clear();
}

TMovingBlockChunkList::TMovingBlockChunkList(TFlowHost* AOwner) : FOwner(AOwner), FTick(GetTickCount()) {}

TMovingBlockChunkList::~TMovingBlockChunkList()
{
    Clear();
}

TMovingBlockChunk* TMovingBlockChunkList::AddChunk(int Value)
{
    if (FMaxValue < Value) Resize(FWidth, FHeight, Value);
    auto* chunk = new TMovingBlockChunk(this);
    switch (FOwner->FlowDirection()) {
    case fdLeftToRight:
        chunk->xRatio = 0, chunk->yRatio = 0.5f;
        break;
    case fdRightToLeft:
        chunk->xRatio = 1, chunk->yRatio = 0.5f;
        break;
    case fdBottomToTop:
        chunk->xRatio = 0.5f, chunk->yRatio = 1;
        break;
    case fdTopToBottom:
        chunk->xRatio = 0.5f, chunk->yRatio = 0;
        break;
    }
    TMovingBlockChunk* last = FList.empty() ? nullptr : FList.back();
    FList.push_back(chunk);
    if (last) {
        // Queued chunks wait outside the chart, one gap apart.
        const float gap = float(FOwner->MovingBlockTimeSpan()) / 1000.0f * float(FOwner->FlowVelocity());
        float w = 1, h = 1;
        ChartSize(FOwner, w, h);
        switch (FOwner->FlowDirection()) {
        case fdLeftToRight:
            chunk->xRatio = last->xRatio - gap / w;
            break;
        case fdRightToLeft:
            chunk->xRatio = last->xRatio + gap / w;
            break;
        case fdBottomToTop:
            chunk->yRatio = last->yRatio + gap / h;
            break;
        case fdTopToBottom:
            chunk->yRatio = last->yRatio - gap / h;
            break;
        }
    }
    // Built after the chunk is placed, so its blocks travel with it.
    chunk->SetValue(Value);
    return chunk;
}

void TMovingBlockChunkList::Resize(int width, int height, int maxValue)
{
    if (maxValue == 0) maxValue = 1;
    if (FMaxValue >= maxValue && width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    FMaxValue = maxValue;
    RebuildBlocks();
}

void TMovingBlockChunkList::RebuildBlocks()
{
    for (TMovingBlockChunk* c : FList)
        c->BuildBlocks(FMaxValue);
}

void TMovingBlockChunkList::Step(int velocity)
{
    if (velocity <= 0) velocity = 1;
    if (velocity >= 1000) velocity = 999;
    const uint32_t now = GetTickCount();
    const double elapsed = std::max(0, TickDiff(now, FTick));
    for (int i = Count() - 1; i >= 0; --i) {
        FList[size_t(i)]->Step(elapsed, float(velocity));
        if (FList[size_t(i)]->HasLeftChart()) Delete(i);
    }
    FTick = now;
}

TMovingBlockChunk* TMovingBlockChunkList::Items(int index) const
{
    return index >= 0 && index < Count() ? FList[size_t(index)] : nullptr;
}

void TMovingBlockChunkList::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    delete FList[size_t(index)];
    FList.erase(FList.begin() + index);
}

void TMovingBlockChunkList::Clear()
{
    for (TMovingBlockChunk* c : FList)
        delete c;
    FList.clear();
}

TChunkPlace TMovingBlockChunkList::Place(TMovingBlockChunk* chunk, int left, int top, int right, int bottom) const
{
    chunk->FState += kPi / 4;
    if (chunk->FState > 2 * kPi) chunk->FState -= 2 * kPi;
    const int w = right - left;
    const int h = bottom - top;
    TChunkPlace p;
    p.A = int(double(chunk->FValue) / FMaxValue * (std::min(w, h) / 3.0 / 2.3));
    if (p.A < 5) p.A = 5;
    const int swing = FOwner->SwingingFlow() ? int(std::sin(chunk->FState) * p.A / 8) : 0;
    if (IsHorizontal(FOwner->FlowDirection())) {
        p.X = int(w * chunk->xRatio) + left;
        p.Y = int(h * FOwner->FlowBlockPortion() * chunk->yRatio) + top - swing;
    } else {
        p.X = int(w * chunk->xRatio) + left - swing;
        p.Y = int(h * chunk->yRatio) + top;
    }
    return p;
}
