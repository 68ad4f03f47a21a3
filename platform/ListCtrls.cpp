#include "platform/ListCtrls.h"

#include <QListWidget>
#include <QScrollBar>

TCustomListBox::TCustomListBox(QWidget* parent) : TCustomControl(parent)
{
    FScrollBar = new QScrollBar(Qt::Vertical, this);
}
void TCustomListBox::SetStyle(TListBoxStyle value)
{
    FStyle = value;
}
void TCustomListBox::SetItemHeight(int value)
{
    FItemHeight = value;
}
QStringList TCustomListBox::Items() const
{
    QStringList l;
    for (const TItem& i : FItems)
        l << i.Text;
    return l;
}
void TCustomListBox::SetItems(const QStringList& items)
{
    FItems.clear();
    for (const QString& s : items)
        FItems.push_back(TItem{s, QVariant(), false});
}
int TCustomListBox::AddItem(const QString& text, const QVariant& object)
{
    FItems.push_back(TItem{text, object, false});
    return Count() - 1;
}
void TCustomListBox::DeleteItem(int index)
{
    FItems.erase(FItems.begin() + index);
}
void TCustomListBox::ClearItems()
{
    FItems.clear();
}
QString TCustomListBox::ItemText(int index) const
{
    return FItems[size_t(index)].Text;
}
void TCustomListBox::SetItemText(int index, const QString& text)
{
    FItems[size_t(index)].Text = text;
}
QVariant TCustomListBox::Objects(int index) const
{
    return FItems[size_t(index)].Object;
}
void TCustomListBox::SetObjects(int index, const QVariant& object)
{
    FItems[size_t(index)].Object = object;
}
void TCustomListBox::SetItemIndex(int value)
{
    FItemIndex = value;
}
void TCustomListBox::SetTopIndex(int value)
{
    FTopIndex = value;
}
TRect TCustomListBox::ItemRect(int) const
{
    return TRect();
}
int TCustomListBox::ItemAtPos(int, int) const
{
    return -1;
}
TRect TCustomListBox::ItemsArea() const
{
    return TRect();
}
bool TCustomListBox::WantsKey(uint16_t) const
{
    return false;
}
void TCustomListBox::Paint() {}
void TCustomListBox::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
}
void TCustomListBox::KeyDown(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyDown(k, s);
}
void TCustomListBox::DoEnter()
{
    TCustomControl::DoEnter();
}
void TCustomListBox::DoExit()
{
    TCustomControl::DoExit();
}
void TCustomListBox::Resize()
{
    TCustomControl::Resize();
}
void TCustomListBox::wheelEvent(QWheelEvent*) {}
void TCustomListBox::DrawItem(int, const TRect&, TOwnerDrawState) {}
bool TCustomListBox::ItemMouseDown(int, int, int)
{
    return false;
}
int TCustomListBox::VisibleRows() const
{
    return 0;
}
void TCustomListBox::UpdateScrollBar() {}
void TCustomListBox::MakeVisible(int) {}
void TCustomListBox::UserSelect(int) {}

TListBox::TListBox(QWidget* parent) : TCustomListBox(parent) {}

TCheckListBox::TCheckListBox(QWidget* parent) : TCustomListBox(parent) {}
bool TCheckListBox::Checked(int index) const
{
    return FItems[size_t(index)].Checked;
}
void TCheckListBox::SetChecked(int index, bool value)
{
    FItems[size_t(index)].Checked = value;
}
void TCheckListBox::KeyDown(uint16_t& k, TShiftState s)
{
    TCustomListBox::KeyDown(k, s);
}
void TCheckListBox::DrawItem(int, const TRect&, TOwnerDrawState) {}
int TCheckListBox::ItemIndent() const
{
    return 0;
}
bool TCheckListBox::ItemMouseDown(int, int, int)
{
    return false;
}

int TImageList::Add(const QImage& image)
{
    FImages.push_back(image);
    return Count() - 1;
}
QImage TImageList::Image(int index) const
{
    return FImages[size_t(index)];
}

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
}
int TListItem::Index() const
{
    return FOwner->List()->row(FItem);
}
bool TListItem::Selected() const
{
    return FItem->isSelected();
}

TListView::TListView(QWidget* parent) : TCustomControl(parent)
{
    FList = new QListWidget(this);
}
TListView::~TListView() = default;
void TListView::SetSmallImages(const TImageList* images)
{
    FImages = images;
}
TListItem* TListView::Item(int index) const
{
    return FListItems[size_t(index)].get();
}
TListItem* TListView::AddItem(const QString& caption, int imageIndex)
{
    auto* qi = new QListWidgetItem(caption, FList);
    FListItems.emplace_back(new TListItem(this, qi));
    FListItems.back()->FImageIndex = imageIndex;
    return FListItems.back().get();
}
void TListView::ClearItems()
{
    FList->clear();
    FListItems.clear();
}
TListItem* TListView::Selected() const
{
    return nullptr;
}
void TListView::SetSelected(TListItem*) {}
int TListView::ItemIndex() const
{
    return -1;
}
void TListView::SetItemIndex(int) {}
void TListView::Resize()
{
    TCustomControl::Resize();
}
void TListView::FontChanged() {}
bool TListView::eventFilter(QObject* watched, QEvent* event)
{
    return TCustomControl::eventFilter(watched, event);
}
void TListView::RefreshIcon(TListItem*) {}
void TListView::SelectionChanged() {}

void THeaderSection::SetText(const QString& value)
{
    FText = value;
}
void THeaderSection::SetWidth(int value)
{
    FWidth = value;
}
void THeaderSection::SetMinWidth(int value)
{
    FMinWidth = value;
}
void THeaderSection::SetMaxWidth(int value)
{
    FMaxWidth = value;
}
int THeaderSection::Left() const
{
    return 0;
}

THeaderControl::THeaderControl(QWidget* parent) : TCustomControl(parent) {}
THeaderControl::~THeaderControl() = default;
THeaderSection* THeaderControl::AddSection(const QString& text, int width)
{
    FSections.emplace_back(new THeaderSection(this));
    FSections.back()->FText = text;
    FSections.back()->FWidth = width;
    return FSections.back().get();
}
THeaderSection* THeaderControl::Section(int index) const
{
    return FSections[size_t(index)].get();
}
void THeaderControl::SetStyle(THeaderStyle value)
{
    FStyle = value;
}
int THeaderControl::DividerAt(int, int) const
{
    return -1;
}
void THeaderControl::Paint() {}
void THeaderControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
}
void THeaderControl::MouseMove(TShiftState s, int x, int y)
{
    TCustomControl::MouseMove(s, x, y);
}
void THeaderControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseUp(b, s, x, y);
}
int THeaderControl::DragWidth(int) const
{
    return 0;
}

void TStatusPanel::SetText(const QString& value)
{
    FText = value;
}
void TStatusPanel::SetWidth(int value)
{
    FWidth = value;
}
void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
    FStyle = value;
}

TStatusBar::TStatusBar(QWidget* parent) : TCustomControl(parent) {}
TStatusBar::~TStatusBar() = default;
TStatusPanel* TStatusBar::AddPanel()
{
    FPanels.emplace_back(new TStatusPanel(this));
    return FPanels.back().get();
}
TStatusPanel* TStatusBar::Panel(int index) const
{
    return FPanels[size_t(index)].get();
}
TRect TStatusBar::PanelRect(int) const
{
    return TRect();
}
void TStatusBar::SetSizeGrip(bool value)
{
    FSizeGrip = value;
}
void TStatusBar::Paint() {}

TProgressBar::TProgressBar(QWidget* parent) : TGraphicControl(parent) {}
void TProgressBar::SetMin(int value)
{
    FMin = value;
}
void TProgressBar::SetMax(int value)
{
    FMax = value;
}
void TProgressBar::SetPosition(int value)
{
    FPosition = value;
}
void TProgressBar::Paint() {}
