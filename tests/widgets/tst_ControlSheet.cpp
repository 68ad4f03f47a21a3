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

    void sheetOfEveryControl()
    {
        QWidget form;
        form.setAutoFillBackground(true);
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, ToQColor(RGB(236, 233, 216)));
        form.setPalette(pal);
        form.resize(900, 750 + 10);
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

        // Edit boxes: empty, a name, a syllable being composed after committed text (the block), disabled,
        // the game's input box.
        title(8, 712, "edit boxes");
        const QStringList editTexts = {"", "홍길동", "", "disabled", "water"};
        for (int i = 0; i < editTexts.size(); ++i) {
            auto* e = new TEdit(&form);
            e->SetBounds(110 + i * 150, 704, 140, i == 4 ? 26 : 22);
            TFont f = KoreanFont(i == 4 ? -16 : -13, clBlack, i == 4 ? TFontStyles(fsBold) : 0u);
            f.Name = QStringLiteral("굴림체");
            e->SetFont(f);
            e->SetText(editTexts[i]);
            if (i == 2) {
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
        form.render(&sheet);
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
