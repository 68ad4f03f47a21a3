#pragma once
// A caption on a mirrored two-colour gradient: the begin colour at both edges, the end colour in the
// middle, by rows or by columns. Holding the left button down swaps the colours.

#include "platform/Controls.h"

namespace GradAnnBtn {
enum class TGradType : uint8_t { gtVertCenter, gtHorizCenter };
} // namespace GradAnnBtn

class TGradAnnBtn : public TGraphicControl
{
    Q_OBJECT
public:
    using TGradType = GradAnnBtn::TGradType;
    using TGradFill = void (TGradAnnBtn::*)(TColor beginC, TColor endC);

    explicit TGradAnnBtn(QWidget* parent = nullptr);

    TColor BeginColor() const { return FBeginColor; }
    void SetBeginColor(TColor value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    TGradType GradType() const { return FGradType; }
    void SetGradType(TGradType value);
    bool MouseIn() const { return FMouseIn; }
    void SetMouseIn(bool value);

    void Loaded() override { Invalidate(); }
    void DoGradFill(TColor beginC, TColor endC);

    void FillVertCenter(TColor beginC, TColor endC);
    void FillHorizCenter(TColor beginC, TColor endC);

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void TextChanged() override { Invalidate(); }
    void FontChanged() override;

private:
    TColor FBeginColor = clBlue;
    bool FDown = false;
    TColor FEndColor = TColor(0xFFFFFF00u);
    TGradFill FGradFill = &TGradAnnBtn::FillVertCenter;
    TGradType FGradType = TGradType::gtVertCenter;
    bool FMouseIn = false;
};
