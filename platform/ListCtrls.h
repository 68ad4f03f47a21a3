#pragma once
// The list controls of the dialogs: owner-drawn list boxes (with and without check boxes), the list view
// of the sentence texts, the header over the score list, the status bar and the progress bar.
//
// Owner-drawn lists: every visible item is drawn by OnDrawItem on the list's canvas with its rectangle (in
// the list's own coordinates, inside its sunken border) and its state; after it the list draws the dotted
// focus rectangle itself around the item that has the focus, by inverting the pixels, as the platform
// does. A handler therefore draws no focus rectangle of its own (a second one would invert it away).
// Before OnDrawItem the canvas holds the list's font and the item's colours: Brush clHighlight and font
// colour clHighlightText for the selected item, else the list's colour and font colour.
// A check list box draws each item's check box left of the rectangle it hands to OnDrawItem.

#include "platform/Controls.h"

#include <QImage>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QScrollBar;

// State of an owner-drawn item, as a bit set.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1,
    odGrayed = 2,
    odDisabled = 4,
    odChecked = 8,
    odFocused = 16,
};
using TOwnerDrawState = unsigned;

enum class TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed };

class TCustomListBox;
using TDrawItemEvent =
    std::function<void(TCustomListBox* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TCustomControl
{
    Q_OBJECT
public:
    explicit TCustomListBox(QWidget* parent = nullptr);

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);

    // Items: a text and a value kept with it (a thumbnail picture, a pointer: the list owns nothing).
    int Count() const { return int(FItems.size()); }
    QStringList Items() const;
    // Replaces the items; objects and checks are cleared, nothing is selected.
    void SetItems(const QStringList& items);
    int AddItem(const QString& text, const QVariant& object = QVariant());
    void DeleteItem(int index);
    void ClearItems();
    QString ItemText(int index) const;
    void SetItemText(int index, const QString& text);
    QVariant Objects(int index) const;
    void SetObjects(int index, const QVariant& object);

    // -1 = none. Setting it scrolls the item into view and fires nothing.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);

    // Item index's rectangle in the list's coordinates (the whole row, check box included).
    TRect ItemRect(int index) const;
    // The item under (x, y), or -1.
    int ItemAtPos(int x, int y) const;
    // The area inside the border, less the scroll bar.
    TRect ItemsArea() const;

    TDrawItemEvent OnDrawItem;

    bool WantsKey(uint16_t key) const override;
    // From the program: fires OnClick. The user's click fires it when it changes the selection.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    void wheelEvent(QWheelEvent* event) override;

    // Draws item index in its row: OnDrawItem for an owner-drawn list, else the text on the selection
    // colours, in the part of the row right of ItemIndent().
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    // Width taken at the left of each row before the rectangle that OnDrawItem gets.
    virtual int ItemIndent() const { return 0; }
    // A press on an item at (x, y) within its row; returns true when it was used up (no selection change).
    virtual bool ItemMouseDown(int index, int x, int y);
    struct TItem
    {
        QString Text;
        QVariant Object;
        bool Checked = false;
    };
    std::vector<TItem> FItems;

private:
    int VisibleRows() const;
    void UpdateScrollBar();
    void MakeVisible(int index);
    // A user's choice: selects, scrolls to it and fires OnClick when the selection changed.
    void UserSelect(int index);
    TListBoxStyle FStyle = TListBoxStyle::lbStandard;
    int FItemHeight = 16;
    int FItemIndex = -1;
    int FTopIndex = 0;
    bool FMousePressed = false;
    QScrollBar* FScrollBar = nullptr;
};

class TListBox : public TCustomListBox
{
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);
};

class TCheckListBox : public TCustomListBox
{
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget* parent = nullptr);

    // Set from the program fires nothing; a click on the check box or Space toggles it.
    bool Checked(int index) const;
    void SetChecked(int index, bool value);
    bool WantsKey(uint16_t key) const override;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    int ItemIndent() const override;
    bool ItemMouseDown(int index, int x, int y) override;
};

// Small pictures for a list view, all of one size; the owner keeps the list alive while a view uses it.
class TImageList
{
public:
    int Width = 16;
    int Height = 16;
    int Count() const { return int(FImages.size()); }
    // Scaled to Width x Height; returns its index.
    int Add(const QImage& image);
    QImage Image(int index) const;

private:
    std::vector<QImage> FImages;
};

class TListView;

class TListItem
{
public:
    QString Caption() const;
    void SetCaption(const QString& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Index() const;
    bool Selected() const;

private:
    friend class TListView;
    TListItem(TListView* owner, QListWidgetItem* item) : FOwner(owner), FItem(item) {}
    TListView* FOwner;
    QListWidgetItem* FItem;
    int FImageIndex = -1;
};

using TLVSelectItemEvent = std::function<void(QObject* Sender, TListItem* Item, bool Selected)>;

// A read-only list of captions with small icons in one column that fills the width, no column header;
// the selection stays visible while the view has no focus.
class TListView : public TCustomControl
{
    Q_OBJECT
public:
    explicit TListView(QWidget* parent = nullptr);
    ~TListView() override;

    void SetSmallImages(const TImageList* images);
    const TImageList* SmallImages() const { return FImages; }

    int ItemCount() const { return int(FListItems.size()); }
    TListItem* Item(int index) const;
    TListItem* AddItem(const QString& caption, int imageIndex = -1);
    void ClearItems();

    // The selected item, or null.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int value);

    // The Qt list inside (tests click into it).
    QListWidget* List() const { return FList; }

    // An item loses (Selected false) or gains (Selected true) the selection, from the user or the program.
    TLVSelectItemEvent OnSelectItem;

protected:
    void Paint() override;
    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TListItem;
    void RefreshIcon(TListItem* item);
    void SelectionChanged();
    QListWidget* FList = nullptr;
    const TImageList* FImages = nullptr;
    std::vector<std::unique_ptr<TListItem>> FListItems;
    TListItem* FLastSelected = nullptr;
};

enum class THeaderStyle : uint8_t { hsButtons, hsFlat };

class THeaderControl;

class THeaderSection
{
public:
    QString Text() const { return FText; }
    void SetText(const QString& value);
    int Width() const { return FWidth; }
    // Kept between MinWidth and MaxWidth.
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    // The user can drag its right edge unless its minimum and maximum are one width.
    bool Resizable() const { return FMinWidth < FMaxWidth; }
    int Index() const { return FIndex; }
    int Left() const;
    int Right() const { return Left() + FWidth; }

private:
    friend class THeaderControl;
    explicit THeaderSection(THeaderControl* owner) : FOwner(owner) {}
    THeaderControl* FOwner;
    QString FText;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 10000;
    int FIndex = 0;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section)>;

class THeaderControl : public TCustomControl
{
    Q_OBJECT
public:
    explicit THeaderControl(QWidget* parent = nullptr);
    ~THeaderControl() override;

    THeaderSection* AddSection(const QString& text, int width);
    int SectionCount() const { return int(FSections.size()); }
    THeaderSection* Section(int index) const;

    THeaderStyle Style() const { return FStyle; }
    void SetStyle(THeaderStyle value);
    // Without full drag a line follows the mouse and the section takes its width at the release.
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool value) { FFullDrag = value; }

    // The section whose right edge (x, y) grabs for resizing, or -1.
    int DividerAt(int x, int y) const;

    // After the user resized a section (at the release of the drag).
    TSectionNotifyEvent OnSectionResize;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class THeaderSection;
    int DragWidth(int x) const;
    std::vector<std::unique_ptr<THeaderSection>> FSections;
    THeaderStyle FStyle = THeaderStyle::hsButtons;
    bool FFullDrag = true;
    int FDragSection = -1;
    int FDragOffset = 0; // from the mouse to the section's right edge at the press
    int FTrackX = -1;    // the tracking line while dragging without full drag
};

enum class TStatusPanelStyle : uint8_t { psText, psOwnerDraw };

class TStatusBar;

class TStatusPanel
{
public:
    QString Text() const { return FText; }
    // Repaints the panel (an owner-drawn panel is drawn again).
    void SetText(const QString& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    int Index() const { return FIndex; }

private:
    friend class TStatusBar;
    explicit TStatusPanel(TStatusBar* owner) : FOwner(owner) {}
    TStatusBar* FOwner;
    QString FText;
    int FWidth = 50;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
    int FIndex = 0;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// Panels from the left with their widths; the last one runs to the right end.
class TStatusBar : public TCustomControl
{
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);
    ~TStatusBar() override;

    TStatusPanel* AddPanel();
    int PanelCount() const { return int(FPanels.size()); }
    TStatusPanel* Panel(int index) const;
    // The area inside panel index's sunken frame: what OnDrawPanel gets.
    TRect PanelRect(int index) const;

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);

    TDrawPanelEvent OnDrawPanel;

protected:
    void Paint() override;

private:
    friend class TStatusPanel;
    std::vector<std::unique_ptr<TStatusPanel>> FPanels;
    bool FSizeGrip = true;
};

class TProgressBar : public TGraphicControl
{
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // Kept between Min and Max.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    void StepIt() { SetPosition(FPosition + FStep); }

protected:
    void Paint() override;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
};
