#include "platform/ListCtrls.h"

#include "platform/StdCtrls.h"
#include "platform/VirtualKeys.h"

#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

namespace {
constexpr int kBorder = 2;
} // namespace

// ---- TCustomListBox ----

TCustomListBox::TCustomListBox(QWidget* parent) : TCustomControl(parent)
{
    FScrollBar = new QScrollBar(Qt::Vertical, this);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    FScrollBar->hide();
    connect(FScrollBar, &QScrollBar::valueChanged, this, [this](int value) { SetTopIndex(value); });
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TCustomListBox::SetItemHeight(int value)
{
    value = qMax(1, value);
    if (FItemHeight == value) return;
    FItemHeight = value;
    UpdateScrollBar();
    Invalidate();
}

QStringList TCustomListBox::Items() const
{
    QStringList texts;
    for (const TItem& item : FItems)
        texts << item.Text;
    return texts;
}

void TCustomListBox::SetItems(const QStringList& items)
{
    FItems.clear();
    for (const QString& text : items)
        FItems.push_back(TItem{text, QVariant(), false});
    FItemIndex = -1;
    FTopIndex = 0;
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::AddItem(const QString& text, const QVariant& object)
{
    FItems.push_back(TItem{text, object, false});
    UpdateScrollBar();
    Invalidate();
    return Count() - 1;
}

void TCustomListBox::DeleteItem(int index)
{
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
    // The selection stays on its item; the deleted item's selection goes.
    if (FItemIndex == index)
        FItemIndex = -1;
    else if (FItemIndex > index)
        --FItemIndex;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::ClearItems()
{
    SetItems(QStringList());
}

QString TCustomListBox::ItemText(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].Text : QString();
}

void TCustomListBox::SetItemText(int index, const QString& text)
{
    if (index < 0 || index >= Count()) return;
    FItems[size_t(index)].Text = text;
    Invalidate();
}

QVariant TCustomListBox::Objects(int index) const
{
    return index >= 0 && index < Count() ? FItems[size_t(index)].Object : QVariant();
}

void TCustomListBox::SetObjects(int index, const QVariant& object)
{
    if (index < 0 || index >= Count()) return;
    FItems[size_t(index)].Object = object;
    Invalidate();
}

void TCustomListBox::SetItemIndex(int value)
{
    if (value < -1 || value >= Count()) value = -1;
    if (FItemIndex == value) return;
    FItemIndex = value;
    MakeVisible(value);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int value)
{
    value = qBound(0, value, qMax(0, Count() - VisibleRows()));
    if (FTopIndex == value) return;
    FTopIndex = value;
    FScrollBar->setValue(value);
    Invalidate();
}

TRect TCustomListBox::ItemsArea() const
{
    const int scroll = FScrollBar->isVisibleTo(this) ? FScrollBar->width() : 0;
    return Rect(kBorder, kBorder, qMax(kBorder, Width() - kBorder - scroll), qMax(kBorder, Height() - kBorder));
}

TRect TCustomListBox::ItemRect(int index) const
{
    const TRect area = ItemsArea();
    const int top = area.Top + (index - FTopIndex) * FItemHeight;
    return Rect(area.Left, top, area.Right, top + FItemHeight);
}

int TCustomListBox::ItemAtPos(int x, int y) const
{
    const TRect area = ItemsArea();
    if (!PtInRect(area, Point(x, y))) return -1;
    const int index = FTopIndex + (y - area.Top) / FItemHeight;
    return index < Count() ? index : -1;
}

int TCustomListBox::VisibleRows() const
{
    return qMax(1, (Height() - 2 * kBorder) / FItemHeight);
}

void TCustomListBox::UpdateScrollBar()
{
    const int rows = VisibleRows();
    const bool needed = Count() > rows;
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    FScrollBar->setGeometry(Width() - kBorder - extent, kBorder, extent, qMax(0, Height() - 2 * kBorder));
    FScrollBar->setVisible(needed);
    FScrollBar->setRange(0, qMax(0, Count() - rows));
    FScrollBar->setPageStep(rows);
    if (FTopIndex > FScrollBar->maximum()) SetTopIndex(FScrollBar->maximum());
}

void TCustomListBox::MakeVisible(int index)
{
    if (index < 0) return;
    if (index < FTopIndex)
        SetTopIndex(index);
    else if (index >= FTopIndex + VisibleRows())
        SetTopIndex(index - VisibleRows() + 1);
}

void TCustomListBox::UserSelect(int index)
{
    if (index < 0 || index >= Count()) return;
    MakeVisible(index);
    if (index == FItemIndex) return;
    FItemIndex = index;
    Invalidate();
    TCustomControl::Click();
}

void TCustomListBox::Click()
{
    // The release of a press on the list clicks nothing more: the press already chose the item.
    if (FMousePressed) return;
    TCustomControl::Click();
}

bool TCustomListBox::WantsKey(uint16_t key) const
{
    return key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT;
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect area = ItemsArea();
    const int focusIndex = FItemIndex >= 0 ? FItemIndex : 0;
    int bottom = area.Top;
    for (int i = FTopIndex; i < Count() && bottom < area.Bottom; ++i) {
        const TRect row = ItemRect(i);
        TOwnerDrawState state = 0;
        if (i == FItemIndex) state |= odSelected;
        if (Focused() && i == focusIndex) state |= odFocused;
        if (!isEnabled()) state |= odDisabled;
        DrawItem(i, row, state);
        if (state & odFocused) {
            TRect focus = row;
            focus.Left += ItemIndent();
            StdDraw::FocusRect(c, focus);
        }
        bottom = row.Bottom;
    }
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    c->FillRect(Rect(area.Left, bottom, area.Right, area.Bottom));
    if (Count() == 0 && Focused()) StdDraw::FocusRect(c, Rect(area.Left, area.Top, area.Right, area.Top + FItemHeight));
    // The border last, over anything an item drew past the list's inside.
    c->Brush.Color = Color();
    c->FrameRect(Rect(area.Right, kBorder, Width() - kBorder, Height() - kBorder));
    StdDraw::SunkenBorder(c, ClientRect());
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas* c = Canvas();
    TRect r = rect;
    r.Left += ItemIndent();
    c->Font = Font();
    c->Pen = TPen();
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    if (state & odSelected) {
        c->Brush.Color = clHighlight;
        c->Font.Color = clHighlightText;
    }
    if (FStyle == TListBoxStyle::lbOwnerDrawFixed && OnDrawItem) {
        OnDrawItem(this, index, r, state);
        return;
    }
    c->FillRect(r);
    if (state & odDisabled) c->Font.Color = clGrayText;
    c->Brush.Style = bsClear;
    c->TextRect(r, r.Left + 2, r.Top + (r.Height() - c->TextHeight(QStringLiteral("0"))) / 2, ItemText(index));
}

bool TCustomListBox::ItemMouseDown(int, int, int)
{
    return false;
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TCustomListBox> self(this);
    if (button == mbLeft) {
        FMousePressed = true;
        SetFocus();
        if (!self) return;
        const int index = ItemAtPos(x, y);
        if (index >= 0 && !ItemMouseDown(index, x, y)) {
            UserSelect(index);
            if (!self) return;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) FMousePressed = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomListBox::KeyDown(uint16_t& key, TShiftState shift)
{
    QPointer<TCustomListBox> self(this);
    TCustomControl::KeyDown(key, shift);
    if (!self || Count() == 0) return;
    const int page = VisibleRows();
    const int from = FItemIndex;
    int to = from;
    switch (key) {
    case VK_UP:
        to = from < 0 ? 0 : from - 1;
        break;
    case VK_DOWN:
        to = from + 1;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = Count() - 1;
        break;
    case VK_PRIOR:
        to = from - (page - 1);
        break;
    case VK_NEXT:
        to = from < 0 ? page - 1 : from + (page - 1);
        break;
    default:
        return;
    }
    UserSelect(qBound(0, to, Count() - 1));
}

void TCustomListBox::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomListBox::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomListBox::Resize()
{
    UpdateScrollBar();
    TCustomControl::Resize();
}

void TCustomListBox::wheelEvent(QWheelEvent* event)
{
    // Three rows a notch, as the platform scrolls.
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) SetTopIndex(FTopIndex - notches * 3);
    event->accept();
}

// ---- TListBox ----

TListBox::TListBox(QWidget* parent) : TCustomListBox(parent) {}

// ---- TCheckListBox ----

TCheckListBox::TCheckListBox(QWidget* parent) : TCustomListBox(parent) {}

bool TCheckListBox::Checked(int index) const
{
    return index >= 0 && index < Count() && FItems[size_t(index)].Checked;
}

void TCheckListBox::SetChecked(int index, bool value)
{
    if (index < 0 || index >= Count() || FItems[size_t(index)].Checked == value) return;
    FItems[size_t(index)].Checked = value;
    Invalidate();
}

int TCheckListBox::ItemIndent() const
{
    return StdDraw::kCheckSize + 2;
}

void TCheckListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas* c = Canvas();
    const TRect box = Rect(rect.Left, rect.Top, rect.Left + ItemIndent(), rect.Bottom);
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    c->FillRect(box);
    StdDraw::CheckBox(c, box.Left + 1, box.Top + (box.Height() - StdDraw::kCheckSize) / 2, Checked(index),
                      !(state & odDisabled), false);
    TCustomListBox::DrawItem(index, rect, state);
}

bool TCheckListBox::ItemMouseDown(int index, int x, int)
{
    // A press on the check box toggles it; the item is selected as well.
    if (x < ItemRect(index).Left + ItemIndent()) SetChecked(index, !Checked(index));
    return false;
}

void TCheckListBox::KeyDown(uint16_t& key, TShiftState shift)
{
    QPointer<TCheckListBox> self(this);
    TCustomListBox::KeyDown(key, shift);
    if (!self) return;
    if (key == VK_SPACE && ItemIndex() >= 0) SetChecked(ItemIndex(), !Checked(ItemIndex()));
}

bool TCheckListBox::WantsKey(uint16_t key) const
{
    return key == VK_SPACE || TCustomListBox::WantsKey(key);
}

// ---- TImageList ----

int TImageList::Add(const QImage& image)
{
    FImages.push_back(image.size() == QSize(Width, Height)
                          ? image
                          : image.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

QImage TImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? FImages[size_t(index)] : QImage();
}

// ---- TListView ----

QString TListItem::Caption() const
{
    return FItem->text();
}

void TListItem::SetCaption(const QString& value)
{
    FItem->setText(value);
}

void TListItem::SetImageIndex(int value)
{
    FImageIndex = value;
    FOwner->RefreshIcon(this);
}

int TListItem::Index() const
{
    return FOwner->FList->row(FItem);
}

bool TListItem::Selected() const
{
    return FItem->isSelected();
}

TListView::TListView(QWidget* parent) : TCustomControl(parent)
{
    FList = new QListWidget(this);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FList->setUniformItemSizes(true);
    FList->setFrameShape(QFrame::NoFrame);
    FList->viewport()->installEventFilter(this);
    setFocusProxy(FList);
    connect(FList, &QListWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
    FontChanged();
}

TListView::~TListView()
{
    // The Qt list goes with its items before the wrappers; it must report nothing on the way.
    FList->blockSignals(true);
}

void TListView::SetSmallImages(const TImageList* images)
{
    FImages = images;
    if (images) FList->setIconSize(QSize(images->Width, images->Height));
    for (auto& item : FListItems)
        RefreshIcon(item.get());
}

void TListView::RefreshIcon(TListItem* item)
{
    const int index = item->FImageIndex;
    if (FImages && index >= 0 && index < FImages->Count())
        item->FItem->setIcon(QIcon(QPixmap::fromImage(FImages->Image(index))));
    else
        item->FItem->setIcon(QIcon());
}

TListItem* TListView::Item(int index) const
{
    return index >= 0 && index < ItemCount() ? FListItems[size_t(index)].get() : nullptr;
}

TListItem* TListView::AddItem(const QString& caption, int imageIndex)
{
    auto* qtItem = new QListWidgetItem(caption, FList);
    FListItems.emplace_back(new TListItem(this, qtItem));
    TListItem* item = FListItems.back().get();
    item->FImageIndex = imageIndex;
    RefreshIcon(item);
    return item;
}

void TListView::ClearItems()
{
    QPointer<TListView> self(this);
    TListItem* old = FLastSelected;
    FLastSelected = nullptr;
    if (old && OnSelectItem) {
        OnSelectItem(this, old, false);
        if (!self) return;
    }
    FList->blockSignals(true);
    FList->clear();
    FList->blockSignals(false);
    FListItems.clear();
}

TListItem* TListView::Selected() const
{
    const QList<QListWidgetItem*> selected = FList->selectedItems();
    if (selected.isEmpty()) return nullptr;
    for (const auto& item : FListItems)
        if (item->FItem == selected.first()) return item.get();
    return nullptr;
}

void TListView::SetSelected(TListItem* item)
{
    if (item)
        FList->setCurrentItem(item->FItem, QItemSelectionModel::ClearAndSelect);
    else
        FList->clearSelection();
}

int TListView::ItemIndex() const
{
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TListView::SetItemIndex(int value)
{
    SetSelected(Item(value));
}

void TListView::SelectionChanged()
{
    QPointer<TListView> self(this);
    TListItem* now = Selected();
    if (now == FLastSelected) return;
    TListItem* old = FLastSelected;
    FLastSelected = now;
    if (!OnSelectItem) return;
    if (old) {
        OnSelectItem(this, old, false);
        if (!self) return;
    }
    if (now) OnSelectItem(this, now, true);
}

void TListView::Resize()
{
    FList->setGeometry(kBorder, kBorder, qMax(0, Width() - 2 * kBorder), qMax(0, Height() - 2 * kBorder));
    TCustomControl::Resize();
}

void TListView::Paint()
{
    StdDraw::SunkenBorder(Canvas(), ClientRect());
}

void TListView::FontChanged()
{
    FList->setFont(Font().ToQFont());
    QPalette pal = FList->palette();
    // The selection looks the same with and without the focus.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, ToQColor(Color()));
        pal.setColor(group, QPalette::Text, ToQColor(group == QPalette::Disabled ? clGrayText : Font().Color));
        pal.setColor(group, QPalette::Highlight, ToQColor(clHighlight));
        pal.setColor(group, QPalette::HighlightedText, ToQColor(clHighlightText));
    }
    FList->setPalette(pal);
}

void TListView::ColorChanged()
{
    FontChanged();
}

bool TListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FList->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the list has handled the release (and so the selection), the view is clicked.
        QPointer<TListView> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->TCustomControl::Click();
        });
    }
    return TCustomControl::eventFilter(watched, event);
}

// ---- THeaderControl ----

void THeaderSection::SetText(const QString& value)
{
    FText = value;
    FOwner->Invalidate();
}

void THeaderSection::SetWidth(int value)
{
    FWidth = qBound(FMinWidth, value, qMax(FMinWidth, FMaxWidth));
    FOwner->Invalidate();
}

void THeaderSection::SetMinWidth(int value)
{
    FMinWidth = qMax(0, value);
    SetWidth(FWidth);
}

void THeaderSection::SetMaxWidth(int value)
{
    FMaxWidth = value;
    SetWidth(FWidth);
}

int THeaderSection::Left() const
{
    int left = 0;
    for (int i = 0; i < FIndex; ++i)
        left += FOwner->Section(i)->Width();
    return left;
}

THeaderControl::THeaderControl(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 200, 17);
}

THeaderControl::~THeaderControl() = default;

THeaderSection* THeaderControl::AddSection(const QString& text, int width)
{
    FSections.emplace_back(new THeaderSection(this));
    THeaderSection* section = FSections.back().get();
    section->FIndex = SectionCount() - 1;
    section->FText = text;
    section->FWidth = qMax(0, width);
    Invalidate();
    return section;
}

THeaderSection* THeaderControl::Section(int index) const
{
    return index >= 0 && index < SectionCount() ? FSections[size_t(index)].get() : nullptr;
}

void THeaderControl::SetStyle(THeaderStyle value)
{
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

int THeaderControl::DividerAt(int x, int y) const
{
    if (y < 0 || y >= Height()) return -1;
    // The grip reaches a few pixels to both sides of a divider; the nearest divider wins.
    int best = -1, bestDistance = 4;
    for (const auto& section : FSections) {
        const int distance = qAbs(x - section->Right());
        if (section->Resizable() && distance < bestDistance) {
            best = section->Index();
            bestDistance = distance;
        }
    }
    return best;
}

int THeaderControl::DragWidth(int x) const
{
    const THeaderSection* section = Section(FDragSection);
    return qBound(section->MinWidth(), x + FDragOffset - section->Left(),
                  qMax(section->MinWidth(), section->MaxWidth()));
}

void THeaderControl::Paint()
{
    TCanvas* c = Canvas();
    c->Font = Font();
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    c->FillRect(ClientRect());
    const int textHeight = c->TextHeight(QStringLiteral("0"));
    for (const auto& section : FSections) {
        const TRect r = Rect(section->Left(), 0, section->Right(), Height());
        if (FStyle == THeaderStyle::hsButtons) {
            StdDraw::RaisedBorder(c, r);
        } else {
            // Flat: an etched divider at the right end.
            c->Brush.Color = clBtnShadow;
            c->FillRect(Rect(r.Right - 2, 2, r.Right - 1, Height() - 2));
            c->Brush.Color = clBtnHighlight;
            c->FillRect(Rect(r.Right - 1, 2, r.Right, Height() - 2));
        }
        c->Brush.Style = bsClear;
        c->TextRect(Rect(r.Left + 2, 2, r.Right - 2, Height() - 2), r.Left + 6, (Height() - textHeight) / 2,
                    section->Text());
        c->Brush.Style = bsSolid;
    }
    if (FStyle == THeaderStyle::hsFlat) {
        c->Brush.Color = clBtnShadow;
        c->FillRect(Rect(0, Height() - 1, Width(), Height()));
    }
    if (FTrackX >= 0) {
        // The tracking line, inverted so that it shows on any face.
        TBitmap line;
        line.SetSize(1, Height());
        line.Canvas()->Brush.Color = clWhite;
        line.Canvas()->FillRect(Rect(0, 0, 1, Height()));
        BitBlt(c->Handle(), FTrackX, 0, 1, Height(), line.Canvas()->Handle(), 0, 0, SRCINVERT);
    }
}

void THeaderControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FDragSection = DividerAt(x, y);
        if (FDragSection >= 0) {
            FDragOffset = Section(FDragSection)->Right() - x;
            if (!FFullDrag) {
                FTrackX = Section(FDragSection)->Right() - 1;
                Invalidate();
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void THeaderControl::MouseMove(TShiftState shift, int x, int y)
{
    QPointer<THeaderControl> self(this);
    if (FDragSection >= 0) {
        THeaderSection* section = Section(FDragSection);
        const int width = DragWidth(x);
        if (FFullDrag) {
            if (width != section->Width()) {
                section->SetWidth(width);
                if (OnSectionResize) OnSectionResize(this, section);
                if (!self) return;
            }
        } else {
            FTrackX = section->Left() + width - 1;
            Invalidate();
        }
    } else if (DividerAt(x, y) >= 0) {
        setCursor(Qt::SplitHCursor);
    } else if (Cursor() == crDefault) {
        unsetCursor();
    }
    TCustomControl::MouseMove(shift, x, y);
}

void THeaderControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<THeaderControl> self(this);
    if (button == mbLeft && FDragSection >= 0) {
        THeaderSection* section = Section(FDragSection);
        const int width = DragWidth(x);
        FDragSection = -1;
        FTrackX = -1;
        Invalidate();
        if (!FFullDrag && width != section->Width()) {
            section->SetWidth(width);
            if (OnSectionResize) OnSectionResize(this, section);
            if (!self) return;
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

// ---- TStatusBar ----

void TStatusPanel::SetText(const QString& value)
{
    if (FText == value) return;
    FText = value;
    FOwner->Invalidate();
}

void TStatusPanel::SetWidth(int value)
{
    FWidth = qMax(0, value);
    FOwner->Invalidate();
}

void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
    FStyle = value;
    FOwner->Invalidate();
}

TStatusBar::TStatusBar(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 200, 19);
}

TStatusBar::~TStatusBar() = default;

TStatusPanel* TStatusBar::AddPanel()
{
    FPanels.emplace_back(new TStatusPanel(this));
    FPanels.back()->FIndex = PanelCount() - 1;
    Invalidate();
    return FPanels.back().get();
}

TStatusPanel* TStatusBar::Panel(int index) const
{
    return index >= 0 && index < PanelCount() ? FPanels[size_t(index)].get() : nullptr;
}

void TStatusBar::SetSizeGrip(bool value)
{
    if (FSizeGrip == value) return;
    FSizeGrip = value;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) const
{
    if (index < 0 || index >= PanelCount()) return TRect();
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += FPanels[size_t(i)]->Width();
    const bool last = index == PanelCount() - 1;
    int right = last ? Width() : left + FPanels[size_t(index)]->Width() - 2;
    if (last && FSizeGrip) right -= Height();
    // Inside the panel's one-pixel sunken frame, below the bar's top margin.
    return Rect(left + 1, 3, qMax(left + 1, right - 1), Height() - 1);
}

void TStatusBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    c->FillRect(ClientRect());
    QPointer<TStatusBar> self(this);
    for (int i = 0; i < PanelCount(); ++i) {
        const TRect r = PanelRect(i);
        StdDraw::Edge(c, Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1), clBtnShadow, clBtnHighlight);
        TStatusPanel* panel = FPanels[size_t(i)].get();
        c->Font = Font();
        c->Pen = TPen();
        c->Brush.Style = bsSolid;
        c->Brush.Color = clBtnFace;
        if (panel->Style() == TStatusPanelStyle::psOwnerDraw) {
            if (OnDrawPanel) OnDrawPanel(this, panel, r);
            if (!self) return;
        } else {
            c->Brush.Style = bsClear;
            c->TextRect(r, r.Left + 2, r.Top + (r.Height() - c->TextHeight(QStringLiteral("0"))) / 2, panel->Text());
        }
    }
    if (FSizeGrip) {
        // Three pairs of diagonal lines in the bottom right corner.
        const int w = Width(), h = Height();
        for (int k = 0; k < 3; ++k) {
            for (int d = 0; d < 2; ++d) {
                c->Pen = TPen();
                c->Pen.Color = d == 0 ? clBtnHighlight : clBtnShadow;
                const int o = 4 * k + 3 + d;
                c->MoveTo(w - o, h - 1);
                c->LineTo(w, h - 1 - o);
            }
        }
    }
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::SetMin(int value)
{
    FMin = value;
    if (FMax < FMin) FMax = FMin;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetMax(int value)
{
    FMax = value;
    if (FMin > FMax) FMin = FMax;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetPosition(int value)
{
    value = qBound(FMin, value, FMax);
    if (FPosition == value) return;
    FPosition = value;
    Invalidate();
}

void TProgressBar::Paint()
{
    TCanvas* c = Canvas();
    const TRect all = ClientRect();
    StdDraw::Edge(c, all, clBtnShadow, clBtnHighlight);
    const TRect inside = Rect(1, 1, Width() - 1, Height() - 1);
    c->Brush.Style = bsSolid;
    c->Brush.Color = clBtnFace;
    c->FillRect(inside);
    if (FMax <= FMin || FPosition <= FMin) return;
    // Blocks of two thirds of the bar's height with a gap of two pixels, as far as the position reaches.
    const int span = inside.Width() - 2;
    const int filled = int(qint64(span) * (FPosition - FMin) / (FMax - FMin));
    const int block = qMax(2, (inside.Height() - 2) * 2 / 3);
    c->Brush.Color = clHighlight;
    for (int x = 0; x < filled; x += block + 2)
        c->FillRect(
            Rect(inside.Left + 1 + x, inside.Top + 1, inside.Left + 1 + qMin(x + block, filled), inside.Bottom - 1));
}
