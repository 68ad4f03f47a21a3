// The list controls as the dialogs use them: owner-drawn items with their rectangles and states, the focus
// rectangle the list draws itself, check boxes beside the items, the header's resizing, the status bar's
// owner-drawn panel and the text list's selection.
#include "platform/ListCtrls.h"
#include "platform/StdCtrls.h"
#include "tests/support/WidgetTestUtil.h"

#include <QListWidget>
#include <QtTest>

namespace {
void ShowActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

struct TDrawCall
{
    int Index;
    TRect Rect;
    TOwnerDrawState State;
};

// Records every OnDrawItem call and fills the item white, as the score list does.
void RecordDraws(TCustomListBox* list, QVector<TDrawCall>* calls)
{
    list->OnDrawItem = [calls](TCustomListBox* control, int index, const TRect& rect, TOwnerDrawState state) {
        *calls << TDrawCall{index, rect, state};
        TCanvas* c = control->Canvas();
        c->Brush.Color = clWhite;
        c->FillRect(rect);
        c->Font.Color = (state & odSelected) ? clBlue : clBlack;
        c->TextOut(rect.Left + 2, rect.Top + 1, control->ItemText(index));
    };
}

void PressAt(QWidget* w, QPoint p)
{
    QTest::mousePress(w, Qt::LeftButton, {}, p);
}

void MoveTo(QWidget* w, QPoint p)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}
} // namespace

class TestListCtrls : public QObject
{
    Q_OBJECT
private slots:
    void ownerDrawnListDrawsEachItemWithRectAndState()
    {
        QWidget w;
        w.resize(300, 200);
        auto* list = new TListBox(&w);
        list->SetBounds(0, 20, 200, 80);
        list->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
        list->SetItemHeight(18);
        list->SetItems({"a", "b", "c"});
        QVector<TDrawCall> calls;
        RecordDraws(list, &calls);
        ShowActive(&w);

        list->SetItemIndex(1);
        list->clearFocus();
        calls.clear();
        RenderControl(list, clBtnFace);
        QCOMPARE(calls.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(calls[i].Index, i);
            // Inside the two-pixel border, the full width, one item height each.
            QCOMPARE(calls[i].Rect, Rect(2, 2 + 18 * i, 198, 20 + 18 * i));
            QCOMPARE(calls[i].State, TOwnerDrawState(i == 1 ? unsigned(odSelected) : 0u));
        }

        list->SetFocus();
        QTRY_VERIFY(list->Focused());
        calls.clear();
        const QImage img = RenderControl(list, clBtnFace);
        QCOMPARE(calls[1].State, TOwnerDrawState(odSelected | odFocused));
        QCOMPARE(calls[0].State, TOwnerDrawState(0));
        // The list's own focus rectangle inverts every other pixel of the item's outline, over what the
        // handler drew (white): dots black, the pixels between them still white.
        const TRect r = calls[1].Rect;
        QCOMPARE(PixelAt(img, r.Left, r.Top), clBlack);
        QCOMPARE(PixelAt(img, r.Left + 1, r.Top), clWhite);
        QCOMPARE(PixelAt(img, r.Left + 2, r.Bottom - 1), clWhite);
        QCOMPARE(PixelAt(img, r.Left + 1, r.Bottom - 1), clBlack);
        // Item 0 has no focus rectangle.
        QCOMPARE(PixelAt(img, r.Left, r.Top - 18), clWhite);
    }

    void scrolledListDrawsFromTheTopItem()
    {
        TListBox list;
        list.SetBounds(0, 0, 150, 58); // three rows of 18 inside the border
        list.SetStyle(TListBoxStyle::lbOwnerDrawFixed);
        list.SetItemHeight(18);
        QStringList items;
        for (int i = 0; i < 10; ++i)
            items << QString::number(i);
        list.SetItems(items);
        QVector<TDrawCall> calls;
        RecordDraws(&list, &calls);
        list.SetItemIndex(8);
        QCOMPARE(list.TopIndex(), 6);
        RenderControl(&list, clBtnFace);
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls.first().Index, 6);
        QCOMPARE(calls.first().Rect.Top, 2);
        QCOMPARE(calls[2].State, TOwnerDrawState(odSelected));
        // The scroll bar takes its width from the rows.
        QVERIFY(calls.first().Rect.Right < 148);
    }

    void listUserSelectionFiresClick()
    {
        QWidget w;
        w.resize(300, 200);
        auto* list = new TListBox(&w);
        list->SetBounds(10, 10, 200, 100);
        list->SetItemHeight(18);
        list->SetItems({"a", "b", "c", "d"});
        ShowActive(&w);
        int clicks = 0;
        list->OnClick = [&](QObject*) { ++clicks; };
        list->SetItemIndex(0); // from the program: no click
        QCOMPARE(clicks, 0);
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, 2 + 18 * 2 + 5));
        QCOMPARE(list->ItemIndex(), 2);
        QCOMPARE(clicks, 1);
        QVERIFY(list->Focused());
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->ItemIndex(), 3);
        QTest::keyClick(list, Qt::Key_Down); // already the last
        QCOMPARE(list->ItemIndex(), 3);
        QCOMPARE(clicks, 2);
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, 90)); // below the items
        QCOMPARE(list->ItemIndex(), 3);
        QCOMPARE(clicks, 2);
    }

    void checkListDrawsRightOfItsCheckBoxes()
    {
        QWidget w;
        w.resize(400, 300);
        auto* list = new TCheckListBox(&w);
        list->SetBounds(10, 10, 300, 200);
        list->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
        list->SetItemHeight(80);
        QImage thumb(80, 20, QImage::Format_RGB32);
        thumb.fill(Qt::red);
        list->AddItem(QStringLiteral("/pic/a.png"), QVariant::fromValue(thumb));
        list->AddItem(QStringLiteral("/pic/b.bmp"));
        list->SetChecked(0, true);
        QVector<TDrawCall> calls;
        QVector<QVariant> objects;
        list->OnDrawItem = [&](TCustomListBox* control, int index, const TRect& rect, TOwnerDrawState state) {
            calls << TDrawCall{index, rect, state};
            objects << control->Objects(index);
        };
        ShowActive(&w);
        calls.clear();
        objects.clear();
        const QImage img = RenderControl(list, clBtnFace);
        QCOMPARE(calls.size(), 2);
        const int indent = StdDraw::kCheckSize + 2;
        QCOMPARE(calls[0].Rect, Rect(2 + indent, 2, 298, 82));
        QCOMPARE(calls[1].Rect, Rect(2 + indent, 82, 298, 162));
        QCOMPARE(objects[0].value<QImage>().size(), QSize(80, 20));
        QVERIFY(objects[1].isNull());
        // The check mark of item 0 is drawn, item 1's box is empty.
        const int boxTop = 2 + (80 - StdDraw::kCheckSize) / 2;
        QCOMPARE(PixelAt(img, 3 + 6, boxTop + 6), ColorToRGB(clWindowText));
        QCOMPARE(PixelAt(img, 3 + 6, 80 + boxTop + 6), ColorToRGB(clWindow));

        // A press on the check box toggles it (and selects the item); one on the text only selects.
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(8, 80 + 40));
        QVERIFY(list->Checked(1));
        QCOMPARE(list->ItemIndex(), 1);
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(100, 40));
        QVERIFY(list->Checked(0));
        QCOMPARE(list->ItemIndex(), 0);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!list->Checked(0));
    }

    void headerResizeFiresSectionResize()
    {
        QWidget w;
        w.resize(520, 100);
        auto* header = new THeaderControl(&w);
        header->SetBounds(0, 0, 497, 17);
        header->SetStyle(THeaderStyle::hsFlat);
        header->SetFullDrag(false);
        const QStringList texts = {"순위", "이름", "점수", "단계", "날짜와 시간", "언어"};
        const int widths[] = {45, 90, 120, 41, 150, 50};
        for (int i = 0; i < 6; ++i) {
            THeaderSection* s = header->AddSection(texts[i], widths[i]);
            if (i != 3) {
                s->SetMinWidth(widths[i]);
                s->SetMaxWidth(widths[i]);
            }
        }
        QVector<int> resized;
        header->OnSectionResize = [&](THeaderControl* h, THeaderSection* s) {
            QCOMPARE(h, header);
            resized << s->Index();
        };
        ShowActive(&w);
        const int levelRight = header->Section(3)->Right();
        QCOMPARE(levelRight, 296);
        QCOMPARE(header->DividerAt(levelRight, 8), 3);
        QCOMPARE(header->DividerAt(header->Section(1)->Right(), 8), -1); // a fixed section

        // Without full drag the width comes at the release, and the event once.
        PressAt(header, QPoint(levelRight, 8));
        MoveTo(header, QPoint(levelRight + 10, 8));
        MoveTo(header, QPoint(levelRight + 30, 8));
        QCOMPARE(header->Section(3)->Width(), 41);
        QVERIFY(resized.isEmpty());
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(levelRight + 30, 8));
        QCOMPARE(header->Section(3)->Width(), 71);
        QCOMPARE(resized, QVector<int>{3});
        QCOMPARE(header->Section(4)->Left(), 326);

        // Dragging a fixed divider changes nothing.
        const int nameRight = header->Section(1)->Right();
        PressAt(header, QPoint(nameRight, 8));
        MoveTo(header, QPoint(nameRight + 40, 8));
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(nameRight + 40, 8));
        QCOMPARE(header->Section(1)->Width(), 90);
        QCOMPARE(resized.size(), 1);

        // Narrower than nothing is no width.
        PressAt(header, QPoint(header->Section(3)->Right(), 8));
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(header->Section(3)->Width(), 0);
        QCOMPARE(resized.size(), 2);
    }

    void statusBarOwnerDrawnPanel()
    {
        QWidget w;
        w.resize(633, 100);
        auto* bar = new TStatusBar(&w);
        bar->SetBounds(0, 80, 633, 20);
        bar->SetSizeGrip(false);
        TStatusPanel* panel = bar->AddPanel();
        panel->SetStyle(TStatusPanelStyle::psOwnerDraw);
        panel->SetWidth(500);
        QVector<TRect> rects;
        QVector<QString> texts;
        bar->OnDrawPanel = [&](TStatusBar* b, TStatusPanel* p, const TRect& r) {
            rects << r;
            texts << p->Text();
            b->Canvas()->Brush.Color = RGB(0, 0, 128);
            b->Canvas()->FillRect(r);
        };
        ShowActive(&w);
        const QImage img = RenderControl(bar, clBtnFace);
        QVERIFY(!rects.isEmpty());
        // The only panel is the last: it runs to the right end, with no size grip taking room.
        QCOMPARE(rects.last(), bar->PanelRect(0));
        QCOMPARE(rects.last().Right, 632);
        QCOMPARE(PixelAt(img, 630, 10), RGB(0, 0, 128));

        // A new text repaints the panel through its handler.
        TPaintCounter counter(bar);
        panel->SetText(QStringLiteral("깨비의 장난 - 메롱~~"));
        QTRY_VERIFY(counter.Count > 0);
        QCOMPARE(texts.last(), QStringLiteral("깨비의 장난 - 메롱~~"));
    }

    void progressBarFillsToItsPosition()
    {
        TProgressBar bar;
        bar.SetBounds(0, 0, 100, 16);
        bar.SetMax(9);
        bar.SetPosition(12);
        QCOMPARE(bar.Position(), 9);
        QImage img = RenderControl(&bar, clBtnFace);
        QCOMPARE(PixelAt(img, 3, 8), ColorToRGB(clHighlight));
        bar.SetPosition(0);
        img = RenderControl(&bar, clBtnFace);
        QCOMPARE(PixelAt(img, 3, 8), ColorToRGB(clBtnFace));
    }

    void listViewSelectionStaysVisibleWithoutFocus()
    {
        QWidget w;
        w.resize(400, 300);
        auto* view = new TListView(&w);
        view->SetBounds(10, 10, 250, 150);
        TImageList icons;
        QImage a(16, 16, QImage::Format_RGB32), b(16, 16, QImage::Format_RGB32);
        a.fill(Qt::darkGreen);
        b.fill(Qt::darkRed);
        icons.Add(a);
        icons.Add(b);
        view->SetSmallImages(&icons);
        for (int i = 0; i < 3; ++i)
            view->AddItem(QStringLiteral("글%1").arg(i), (i + 1) % 2);
        auto* other = new TButton(&w);
        other->SetBounds(10, 200, 75, 25);
        QVector<QPair<QString, bool>> events;
        view->OnSelectItem = [&](QObject*, TListItem* item, bool selected) {
            events << qMakePair(item->Caption(), selected);
        };
        int clicks = 0;
        view->OnClick = [&](QObject*) { ++clicks; };
        ShowActive(&w);

        QCOMPARE(view->Selected(), nullptr);
        const QRect second = view->List()->visualItemRect(view->List()->item(1));
        QTest::mouseClick(view->List()->viewport(), Qt::LeftButton, {}, second.center());
        QTRY_COMPARE(clicks, 1);
        QCOMPARE(view->ItemIndex(), 1);
        QCOMPARE(view->Selected()->Caption(), QStringLiteral("글1"));
        const QRect third = view->List()->visualItemRect(view->List()->item(2));
        QTest::mouseClick(view->List()->viewport(), Qt::LeftButton, {}, third.center());
        const QVector<QPair<QString, bool>> expected = {
            {QStringLiteral("글1"), true}, {QStringLiteral("글1"), false}, {QStringLiteral("글2"), true}};
        QCOMPARE(events, expected);

        other->SetFocus();
        QTRY_VERIFY(other->Focused());
        const QImage img = RenderWidget(view);
        // Right of the text, on the selected row: the selection colour, not an unfocused grey.
        const QPoint p = view->List()->mapTo(view, QPoint(third.right() - 5, third.center().y()));
        QCOMPARE(PixelAt(img, p.x(), p.y()), ColorToRGB(clHighlight));
        QCOMPARE(view->Item(0)->ImageIndex(), 1);
    }
};

QTEST_MAIN(TestListCtrls)
#include "tst_ListCtrls.moc"
