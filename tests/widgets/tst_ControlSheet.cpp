// Renders every owner-drawn control in its states onto one sheet for a person to look at
// ($VORNIX_TEST_OUTPUT/controls.png), and checks that each cell was drawn at all.
#include "components/BitmapEffects.h"
#include "components/BorderLabel.h"
#include "components/EllipBtn.h"
#include "components/EllipseAnnBtn.h"
#include "components/GradAnnBtn.h"
#include "components/KeybdButton.h"
#include "platform/Application.h"
#include "platform/Edit.h"
#include "platform/ListCtrls.h"
#include "platform/StdCtrls.h"

#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QtTest>

namespace {
TFont KoreanFont(int height = -13, TColor color = clBlack, TFontStyles style = 0)
{
    TFont f;
    f.Name = QStringLiteral("굴림");
    f.Height = height;
    f.Color = color;
    f.Style = style;
    return f;
}
} // namespace

class TestControlSheet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }

    void smokeSheetOfEveryControl()
    {
        QWidget form;
        form.setAutoFillBackground(true);
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, ToQColor(RGB(236, 233, 216)));
        form.setPalette(pal);
        form.resize(900, 1210);
        QVector<QWidget*> cells;
        auto title = [&](int x, int y, const QString& text) {
            auto* l = new QLabel(text, &form);
            l->move(x, y);
            l->adjustSize();
        };

        // Ellipse annotation buttons: shape per row, state per column.
        const QStringList states = {"rest", "hover", "pressed", "disabled", "flat rest", "flat hover", "no caption"};
        for (int s = 0; s < states.size(); ++s)
            title(110 + s * 110, 8, states[s]);
        const TEllipseAnnBtn::TBtnShape shapes[] = {TEllipseAnnBtn::TBtnShape::bsRectangle,
                                                    TEllipseAnnBtn::TBtnShape::bsRoundRect,
                                                    TEllipseAnnBtn::TBtnShape::bsEllipse};
        const QString shapeNames[] = {"rectangle", "pill", "ellipse"};
        static QIcon icon;
        {
            QPixmap pm(16, 16);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(QColor(30, 120, 220));
            p.setPen(Qt::NoPen);
            p.drawEllipse(1, 1, 14, 14);
            p.setBrush(Qt::white);
            p.drawEllipse(5, 5, 6, 6);
            icon = QIcon(pm);
        }
        for (int r = 0; r < 3; ++r) {
            title(8, 40 + r * 50, shapeNames[r]);
            for (int s = 0; s < states.size(); ++s) {
                auto* b = new TEllipseAnnBtn(&form);
                b->SetBounds(110 + s * 110, 30 + r * 50, 100, 36);
                b->SetBtnShape(shapes[r]);
                b->SetFont(KoreanFont());
                b->SetCaption(s == 6 ? QString() : QStringLiteral("확인(&O)"));
                if (s == 6) b->SetIconHandle(&icon);
                if (s == 1 || s == 5) b->SetMouseIn(true);
                if (s >= 4 && s <= 5) b->SetRespondToMouse(true);
                if (s == 1) b->SetRespondToMouse(true);
                if (s == 2) b->SetDown(true);
                if (s == 3) b->SetEnabled(false);
                cells << b;
            }
        }
        // Icon with a caption, left-aligned; gradient of custom edge colours; transparent outline.
        title(8, 190, "more");
        {
            auto* b = new TEllipseAnnBtn(&form);
            b->SetBounds(110, 180, 100, 36);
            b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
            b->SetIconHandle(&icon);
            b->SetTextAlign(TEllipseAnnBtn::TTextAlign::taLeft);
            b->SetFont(KoreanFont());
            b->SetCaption(QStringLiteral("&About.."));
            cells << b;
            auto* c = new TEllipseAnnBtn(&form);
            c->SetBounds(220, 180, 100, 36);
            c->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRoundRect);
            c->SetAutoBorderColor(false);
            c->SetTopColor(clWhite);
            c->SetBottomColor(clNavy);
            c->SetColor(RGB(180, 210, 255));
            c->SetFont(KoreanFont(-13, clNavy, fsBold));
            c->SetCaption(QStringLiteral("도움말(&H)"));
            cells << c;
            auto* d = new TEllipseAnnBtn(&form);
            d->SetBounds(330, 180, 100, 36);
            d->SetTransParent(true);
            d->SetColor(clMaroon);
            d->SetFont(KoreanFont());
            d->SetCaption(QStringLiteral("outline"));
            cells << d;
            auto* e = new TEllipseAnnBtn(&form);
            e->SetBounds(440, 180, 100, 36);
            e->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
            e->SetIconHandle(&icon);
            e->SetEnabled(false);
            e->SetFont(KoreanFont());
            e->SetCaption(QStringLiteral("타자게임(&G)"));
            cells << e;
            auto* f = new TEllipseAnnBtn(&form);
            f->SetBounds(550, 180, 100, 36);
            f->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRoundRect);
            f->SetTextAlign(TEllipseAnnBtn::TTextAlign::taBottomRight);
            f->SetFont(KoreanFont(-11));
            f->SetCaption(QStringLiteral("bottom right"));
            cells << f;
        }

        // Focusable buttons: rest, focused, focused with outline, pressed, disabled.
        const QStringList ellipStates = {"rest", "focused", "focus outline", "pressed", "disabled"};
        for (int s = 0; s < ellipStates.size(); ++s)
            title(110 + s * 110, 232, ellipStates[s]);
        const TEllipBtn::TBtnShape eshapes[] = {TEllipBtn::TBtnShape::bsRectangle, TEllipBtn::TBtnShape::bsRoundRect,
                                                TEllipBtn::TBtnShape::bsEllipse};
        for (int r = 0; r < 3; ++r) {
            title(8, 262 + r * 44, QStringLiteral("focusable ") + shapeNames[r]);
            for (int s = 0; s < ellipStates.size(); ++s) {
                auto* b = new TEllipBtn(&form);
                b->SetBounds(110 + s * 110, 252 + r * 44, 90, 32);
                b->SetBtnShape(eshapes[r]);
                b->SetFont(KoreanFont());
                b->SetCaption(QStringLiteral("초기화(&R)"));
                if (s == 1 || s == 2) b->FFocused = true;
                if (s == 2) b->SetDrawFocus(true);
                if (s == 3) b->SetDown(true);
                if (s == 4) b->SetEnabled(false);
                cells << b;
            }
        }
        {
            auto* b = new TEllipBtn(&form);
            b->SetBounds(660, 252, 110, 32);
            b->SetBtnShape(TEllipBtn::TBtnShape::bsRectangle);
            TBitmap pic;
            pic.SetSize(16, 16);
            pic.Canvas()->Brush.Color = clFuchsia;
            pic.Canvas()->FillRect(Rect(0, 0, 16, 16));
            pic.Canvas()->Brush.Color = clGreen;
            pic.Canvas()->Pen.Color = clGreen;
            pic.Canvas()->Ellipse(2, 2, 14, 14);
            b->SetBitmap(&pic);
            b->SetShowBitmap(true);
            b->SetFont(KoreanFont());
            b->SetCaption(QStringLiteral("picture"));
            cells << b;
        }

        // Key caps.
        title(8, 400, "key caps");
        const KeybdButton::TAlignment aligns[] = {KeybdButton::TAlignment::alMiddleCenter,
                                                  KeybdButton::TAlignment::alBottomCenter,
                                                  KeybdButton::TAlignment::alBottomRight};
        const KeybdButton::TButtonBevel bevels[] = {KeybdButton::TButtonBevel::bbRaised,
                                                    KeybdButton::TButtonBevel::bbLowered,
                                                    KeybdButton::TButtonBevel::bbNone};
        const QString keys[] = {"ㅂ", "F", "J", "Shift", "ㅎ", "Enter", "7", "ㅏ", "Q"};
        for (int i = 0; i < 9; ++i) {
            auto* k = new TKeybdButton(&form);
            // As the practice window sets its caps: 36 x 36, bevel 4, corners 10.
            k->SetBounds(110 + i * 48, 390, i == 3 || i == 5 ? 44 : 36, 36);
            k->SetBevelSize(4);
            k->SetRoundDegree(10);
            k->SetAlignment(aligns[i % 3]);
            k->SetBevelStyle(bevels[i / 3]);
            k->SetFont(KoreanFont(-12));
            k->SetCaption(keys[i]);
            if (i == 1) k->SetColor(RGB(255, 220, 120)); // the problem key
            if (i == 4) k->SetColor(RGB(150, 200, 255));
            cells << k;
        }
        {
            auto* k = new TKeybdButton(&form);
            k->SetBounds(560, 390, 120, 40);
            k->SetRoundDegree(10);
            k->SetBevelSize(3);
            k->SetFont(KoreanFont(-12));
            k->SetCaption(QStringLiteral("Space"));
            cells << k;
        }

        // Bordered labels: each shape, each alignment.
        title(8, 460, "labels");
        const BorderLabel::TBorderShape lshapes[] = {
            BorderLabel::TBorderShape::bsRectangle, BorderLabel::TBorderShape::bsRoundRect,
            BorderLabel::TBorderShape::bsCircle, BorderLabel::TBorderShape::bsEllipse};
        int lx = 110;
        for (int i = 0; i < 4; ++i) {
            auto* l = new TBorderLabel(&form);
            l->SetLeft(lx);
            l->SetTop(450);
            l->SetBorderShape(lshapes[i]);
            l->SetColor(i % 2 ? RGB(255, 255, 200) : RGB(200, 230, 255));
            l->SetBorderColor(i % 2 ? clMaroon : clNavy);
            l->SetFont(KoreanFont());
            l->SetCaption(i == 2 ? QStringLiteral("12") : QStringLiteral("Shift 글쇠"));
            l->Loaded();
            lx += l->Width() + 12;
            cells << l;
        }
        const BorderLabel::TTextAlign laligns[] = {BorderLabel::TTextAlign::taLeft, BorderLabel::TTextAlign::taTop,
                                                   BorderLabel::TTextAlign::taBottom, BorderLabel::TTextAlign::taRight};
        for (int i = 0; i < 4; ++i) {
            auto* l = new TBorderLabel(&form);
            l->SetAutoSize(false);
            l->SetBounds(110 + i * 110, 520, 100, 44);
            l->SetBorderWidth(1 + i);
            l->SetTextAlign(laligns[i]);
            l->SetFont(KoreanFont(-12));
            l->SetCaption(QStringLiteral("글자"));
            l->Loaded();
            cells << l;
        }

        // Gradient buttons: rows, columns, pressed (swapped).
        title(8, 600, "gradient");
        for (int i = 0; i < 3; ++i) {
            auto* g = new TGradAnnBtn(&form);
            g->SetBounds(110 + i * 190, 585, 176, 37);
            g->SetBeginColor(clAqua);
            g->SetEndColor(clTeal);
            if (i == 1) g->SetGradType(GradAnnBtn::TGradType::gtHorizCenter);
            if (i == 2) g->SetDown(true);
            g->SetFont(KoreanFont(-16, clWhite, fsBold));
            g->SetCaption(i == 2 ? QStringLiteral("pressed") : QStringLiteral("Vornix 타자연습"));
            cells << g;
        }

        // Picture faces as the menu paints them: a cloud on a key colour drawn transparent over the form,
        // plain, hovered (tinted) and pressed (faded darker).
        title(8, 650, "picture faces");
        TBitmap cloud;
        cloud.SetPixelFormat(pf24bit);
        cloud.SetSize(150, 44);
        {
            TCanvas* c = cloud.Canvas();
            c->Brush.Color = clFuchsia;
            c->FillRect(Rect(0, 0, 150, 44));
            c->Pen.Color = RGB(120, 150, 200);
            c->Brush.Color = RGB(235, 242, 255);
            c->Ellipse(10, 12, 60, 42);
            c->Ellipse(40, 2, 100, 40);
            c->Ellipse(85, 10, 140, 42);
            c->Pen.Style = psClear;
            c->Rectangle(30, 22, 122, 41);
            c->Pen.Style = psSolid;
            c->MoveTo(34, 40);
            c->LineTo(115, 40);
        }
        TEllipseAnnBtn* faces[3];
        for (int i = 0; i < 3; ++i) {
            auto* b = new TEllipseAnnBtn(&form);
            faces[i] = b;
            b->SetBounds(110 + i * 170, 640, 150, 44);
            b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
            b->SetDrawBorder(false);
            b->SetFillBrush(false);
            b->SetRespondToMouse(true);
            b->SetUseInvalidate(false);
            b->SetFont(KoreanFont(-13, clNavy, fsBold));
            b->SetCaption(QStringLiteral("키보드연습(&K)"));
            if (i == 1) b->SetMouseIn(true);
            if (i == 2) b->FBtnDowned = true;
            b->OnPrevDrawBtnFace = [&cloud, b](QObject*, TCanvas* c) {
                TBitmap copy;
                copy.Assign(&cloud);
                if (b->MouseIn()) TintBitmap(&copy, clYellow, 20);
                if (b->FBtnDowned)
                    DrawBitmapTransparentFaded(c->Handle(), 0, 0, -20, &copy, 0, 0);
                else
                    DrawBitmapTransparent(c->Handle(), 0, 0, &copy, 0, 0);
            };
            cells << b;
        }

        // Standard controls as the dialogs lay them out.
        title(8, 712, "check boxes");
        QVector<QWidget*> focusedCells;
        for (int i = 0; i < 4; ++i) {
            auto* b = new TCheckBox(&form);
            b->SetBounds(110 + i * 150, 710, 140, 17);
            b->SetFont(KoreanFont(-12));
            b->SetCaption(i == 1 ? QStringLiteral("&Key 안내 사용 않음") : QStringLiteral("효과음 사용 않음(&F)"));
            b->SetChecked(i % 2 == 1);
            if (i == 2) focusedCells << b;
            if (i == 3) b->SetEnabled(false);
            cells << b;
        }
        title(8, 742, "buttons");
        for (int i = 0; i < 4; ++i) {
            auto* b = new TButton(&form);
            b->SetBounds(110 + i * 90, 737, 80, 25);
            b->SetCaption(i == 0   ? QStringLiteral("장문연습")
                          : i == 1 ? QStringLiteral("도움말(&H)")
                                   : QStringLiteral("추가"));
            if (i == 2) focusedCells << b;
            if (i == 3) b->SetEnabled(false);
            cells << b;
        }
        {
            auto* spin = new TSpinEdit(&form);
            spin->SetBounds(480, 740, 70, 21);
            spin->SetMinValue(50);
            spin->SetMaxValue(2000);
            spin->SetValue(150);
            cells << spin;
            auto* bar = new TProgressBar(&form);
            bar->SetBounds(570, 742, 150, 16);
            bar->SetMax(9);
            bar->SetPosition(6);
            cells << bar;
        }
        title(8, 780, "radio groups");
        {
            auto* level = new TRadioGroup(&form);
            level->SetBounds(110, 775, 200, 110);
            level->SetFont(KoreanFont(-12));
            level->SetCaption(QStringLiteral("시작단계"));
            level->SetColumns(2);
            QStringList items;
            for (int i = 1; i <= 8; ++i)
                items << QStringLiteral("%1단계(&%1)").arg(i);
            level->SetItems(items);
            level->SetItemIndex(2);
            focusedCells << level;
            cells << level;
            auto* rot = new TRadioGroup(&form);
            rot->SetBounds(320, 775, 170, 110);
            rot->SetFont(KoreanFont(-12));
            rot->SetCaption(QStringLiteral("시계 회전방향"));
            rot->SetItems({QStringLiteral("시계방향(&CLOCK...)"), QStringLiteral("반시계방향(C&OUNT...)"),
                           QStringLiteral("회전안함(&NO ROT...)")});
            cells << rot;
            auto* group = new TGroupBox(&form);
            group->SetBounds(500, 775, 260, 110);
            group->SetFont(KoreanFont(-12));
            group->SetCaption(QStringLiteral("연습할 글쇠위치 설정"));
            cells << group;
            for (int i = 0; i < 4; ++i) {
                auto* b = new TCheckBox(group);
                b->SetBounds(i < 2 ? 10 : 140, 22 + (i % 2) * 24, 110, 17);
                b->SetFont(KoreanFont(-12));
                b->SetCaption(QStringList{"기본자리", "왼손 윗줄", "3-90 글판", "최종글판"}[i]);
                b->SetChecked(i == 0);
                if (i == 3) b->SetEnabled(false);
            }
            auto* bevel = new TBevel(group);
            bevel->SetBounds(128, 20, 2, 80);
            bevel->SetShape(TBevelShape::bsLeftLine);
            auto* line = new TBevel(&form);
            line->SetBounds(780, 775, 100, 50);
            line->SetShape(TBevelShape::bsFrame);
            cells << line;
        }
        title(8, 902, "score list");
        THeaderControl* header = nullptr;
        TListBox* scores = nullptr;
        {
            header = new THeaderControl(&form);
            header->SetBounds(110, 900, 497, 17);
            header->SetStyle(THeaderStyle::hsFlat);
            header->SetFont(KoreanFont(-13));
            const QStringList texts = {"순위", "이름", "점수", "단계", "날짜와 시간", "언어"};
            const int widths[] = {45, 90, 120, 41, 150, 50};
            for (int i = 0; i < 6; ++i)
                header->AddSection(texts[i], widths[i]);
            cells << header;
            scores = new TListBox(&form);
            scores->SetBounds(110, 917, 497, 80);
            scores->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
            scores->SetItemHeight(18);
            scores->SetFont(KoreanFont(-13));
            scores->SetItems({"", "", "", "", "", ""});
            scores->SetItemIndex(1);
            const QStringList rows[] = {{"1", "홍길동", "1250", "5", "2009-03-07  14:05:09", "한글"},
                                        {"2", "player", "830", "4", "2009-03-08  09:11:42", "영어"},
                                        {"2", "나그네", "830", "3", "2009-03-09  20:30:00", "한글"},
                                        {"3", "kim", "415", "2", "2009-03-10  07:02:13", "영어"},
                                        {"10", "이순신", "120", "1", "2009-03-11  11:11:11", "한글"},
                                        {"11", "z", "20", "1", "2009-03-12  12:12:12", "영어"}};
            scores->OnDrawItem = [header, rows](TCustomListBox* list, int index, const TRect& r,
                                                TOwnerDrawState state) {
                TCanvas* c = list->Canvas();
                c->Brush.Color = clWhite;
                c->FillRect(r);
                c->Font.Color = index == 1 ? clBlue : clBlack;
                c->Font.Style = index == 1 ? TFontStyles(fsBold) : 0u;
                c->Brush.Style = bsClear;
                int left = r.Left;
                for (int col = 0; col < 6; ++col) {
                    const int right = left + header->Section(col)->Width();
                    c->TextRect(Rect(left, r.Top, right, r.Bottom), left + 2, r.Top + 1, rows[index][col]);
                    left = right;
                }
                c->Brush.Style = bsSolid;
                Q_UNUSED(state);
            };
            focusedCells << scores;
            cells << scores;
        }
        title(8, 1012, "pictures, texts");
        {
            auto* pics = new TCheckListBox(&form);
            pics->SetBounds(110, 1010, 260, 140);
            pics->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
            pics->SetItemHeight(80);
            QImage wide(80, 20, QImage::Format_RGB32);
            wide.fill(QColor(90, 160, 220));
            QImage tall(34, 80, QImage::Format_RGB32);
            tall.fill(QColor(230, 160, 60));
            pics->AddItem(QStringLiteral("/home/kim/pic/sky.png"), QVariant::fromValue(wide));
            pics->AddItem(QStringLiteral("/home/kim/pic/tree.bmp"), QVariant::fromValue(tall));
            pics->AddItem(QStringLiteral("/home/kim/pic/gone.png"));
            pics->SetChecked(0, true);
            pics->SetItemIndex(1);
            pics->SetTopIndex(0);
            pics->OnDrawItem = [](TCustomListBox* list, int index, const TRect& r, TOwnerDrawState state) {
                TCanvas* c = list->Canvas();
                c->Brush.Color = (state & odSelected) ? clHighlight : clWindow;
                c->Font.Color = (state & odSelected) ? clHighlightText : clWindowText;
                c->FillRect(r);
                const QImage thumb = list->Objects(index).value<QImage>();
                if (!thumb.isNull())
                    c->DrawImage(
                        Bounds(r.Left, r.Top + (r.Height() - thumb.height()) / 2, thumb.width(), thumb.height()),
                        thumb);
                c->Brush.Style = bsClear;
                c->TextOut(r.Left + 80 + 5, r.Top + 80 / 2 - 5, list->ItemText(index).section('/', -1));
                c->Brush.Style = bsSolid;
            };
            cells << pics;

            static TImageList textIcons;
            if (textIcons.Count() == 0) {
                for (QColor color : {QColor(60, 140, 60), QColor(60, 90, 170)}) {
                    QImage icon(16, 16, QImage::Format_ARGB32);
                    icon.fill(Qt::transparent);
                    QPainter p(&icon);
                    p.setPen(color.darker());
                    p.setBrush(color.lighter(170));
                    p.drawRect(2, 1, 11, 13);
                    p.drawLine(5, 5, 10, 5);
                    p.drawLine(5, 8, 10, 8);
                    p.drawLine(5, 11, 9, 11);
                    p.end();
                    textIcons.Add(icon);
                }
            }
            auto* texts = new TListView(&form);
            texts->SetBounds(390, 1010, 220, 140);
            texts->SetSmallImages(&textIcons);
            const QStringList names = {"애국가", "[한글]문장", "short english", "동요 모음"};
            for (int i = 0; i < names.size(); ++i)
                texts->AddItem(names[i], (i + 1) % 2);
            texts->SetItemIndex(1);
            cells << texts;

            auto* status = new TStatusBar(&form);
            status->SetBounds(630, 1131, 260, 20);
            status->SetSizeGrip(false);
            TStatusPanel* panel = status->AddPanel();
            panel->SetStyle(TStatusPanelStyle::psOwnerDraw);
            panel->SetWidth(200);
            panel->SetText(QStringLiteral("깨비의 장난 - 메롱~~"));
            status->OnDrawPanel = [](TStatusBar* bar, TStatusPanel* p, const TRect& r) {
                TCanvas* c = bar->Canvas();
                c->Brush.Color = RGB(0, 0, 128);
                c->FillRect(r);
                c->Font = KoreanFont(-12, clYellow);
                c->Brush.Style = bsClear;
                c->TextOut(20, 4, p->Text());
                c->Brush.Style = bsSolid;
            };
            cells << status;
            auto* plain = new TStatusBar(&form);
            plain->SetBounds(630, 1100, 260, 20);
            plain->AddPanel()->SetWidth(120);
            plain->Panel(0)->SetText(QStringLiteral("점수: 120"));
            plain->AddPanel()->SetText(QStringLiteral("grip"));
            cells << plain;
        }

        // Edit boxes: empty, a name, a syllable being composed after committed text (the block), disabled,
        // the game's input box.
        title(8, 1176, "edit boxes");
        const QStringList editTexts = {"", "홍길동", "", "disabled", "water"};
        for (int i = 0; i < editTexts.size(); ++i) {
            auto* e = new TEdit(&form);
            e->SetBounds(110 + i * 150, 1170, 140, i == 4 ? 26 : 22);
            TFont f = KoreanFont(i == 4 ? -16 : -13, clBlack, i == 4 ? TFontStyles(fsBold) : 0u);
            f.Name = QStringLiteral("굴림체");
            e->SetFont(f);
            e->SetText(editTexts[i]);
            if (i == 2) {
                // Never given the focus when the sheet is shown, which would commit the syllable.
                e->setFocusPolicy(Qt::NoFocus);
                e->SetConversionMode(IME_CMODE_NATIVE);
                QTest::keyClicks(e, QStringLiteral("rhemrgks"));
                QCOMPARE(e->Text(), QStringLiteral("고득"));
                QCOMPARE(e->ComposingText(), QStringLiteral("한"));
            }
            if (i == 3) e->setEnabled(false);
            cells << e;
        }

        QImage sheet(form.size(), QImage::Format_RGB32);
        sheet.setDevicePixelRatio(1);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Nothing focused but the cells meant to show it, one at a time below.
        if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
        form.render(&sheet);
        // The focused look, one control at a time.
        for (QWidget* w : focusedCells) {
            w->setFocus();
            QTRY_VERIFY(w->hasFocus());
            w->render(&sheet, w->mapTo(&form, QPoint()));
        }
        const QString out = qEnvironmentVariable("VORNIX_TEST_OUTPUT", QDir::tempPath());
        QDir().mkpath(out);
        QVERIFY(sheet.save(out + "/controls.png"));

        // The key colour of a picture face shows the form through; the cloud itself is drawn, tinted when
        // hovered.
        const QPoint corner = faces[0]->geometry().topLeft();
        QCOMPARE(sheet.pixel(corner + QPoint(1, 1)), ToQColor(RGB(236, 233, 216)).rgb());
        QCOMPARE(FromQColor(sheet.pixelColor(corner + QPoint(70, 30))), RGB(235, 242, 255));
        const QPoint hovered = faces[1]->geometry().topLeft();
        QCOMPARE(FromQColor(sheet.pixelColor(hovered + QPoint(70, 30))),
                 RGB((235 * 80 + 255 * 20) / 100, (242 * 80 + 255 * 20) / 100, (255 * 80) / 100));

        // Every cell painted something other than the form's background.
        const QRgb background = ToQColor(RGB(236, 233, 216)).rgb();
        for (QWidget* w : cells) {
            bool drawn = false;
            const QRect g = w->geometry();
            for (int y = g.top(); y <= g.bottom() && !drawn; ++y)
                for (int x = g.left(); x <= g.right() && !drawn; ++x)
                    drawn = sheet.pixel(x, y) != background;
            QVERIFY2(drawn, qPrintable(w->metaObject()->className()));
        }
    }
};

QTEST_MAIN(TestControlSheet)
#include "tst_ControlSheet.moc"
