// The font (with colour), colour and open-picture dialogs, their test hooks, and the sound hook.
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Sound.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
// Accepts the modal dialog that opens next, after change has worked on it.
void AcceptNextDialog(std::function<void(QDialog*)> change = {})
{
    QTimer::singleShot(50, [change] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (change) change(dialog);
        dialog->accept();
    });
}

TFont PracticeFont()
{
    TFont f;
    f.Name = QStringLiteral("굴림체");
    f.SetSize(16);
    f.Style = fsBold;
    f.Color = clRed;
    return f;
}
} // namespace

class TestCommonDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }

    void cleanup()
    {
        SetFontDialogHook({});
        SetColorDialogHook({});
        SetOpenPictureDialogHook({});
        SetSoundHook({});
    }

    // OK without a change gives back the font as it was given: the stored name "굴림체" is not replaced
    // by the face that stands in for it, and the colour stays.
    // A regular face is not handed back slanted because its style is called "Book". The face standing in
    // for "굴림체" has no italic style: a stored italic stays all the same.
    void fontDialogKeepsAnUnchangedFont_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<unsigned>("style");
        QTest::newRow("굴림체 bold") << "굴림체" << unsigned(fsBold);
        QTest::newRow("굴림체 regular") << "굴림체" << 0u;
        QTest::newRow("굴림체 italic") << "굴림체" << unsigned(fsItalic);
        QTest::newRow("굴림체 bold italic") << "굴림체" << unsigned(fsBold | fsItalic);
        QTest::newRow("Tahoma regular") << "Tahoma" << 0u;
        QTest::newRow("Tahoma italic") << "Tahoma" << unsigned(fsItalic);
        QTest::newRow("Tahoma bold italic") << "Tahoma" << unsigned(fsBold | fsItalic);
    }
    void fontDialogKeepsAnUnchangedFont()
    {
        QFETCH(QString, name);
        QFETCH(unsigned, style);
        TFontDialog dialog;
        dialog.Font = PracticeFont();
        dialog.Font.Name = name;
        dialog.Font.Style = style;
        AcceptNextDialog();
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Font.Name, name);
        QCOMPARE(dialog.Font.Size(), 16);
        QCOMPARE(dialog.Font.Style, TFontStyles(style));
        QCOMPARE(dialog.Font.Color, clRed);
    }

    void fontDialogTakesTheChosenFace()
    {
        TFontDialog dialog;
        dialog.Font = PracticeFont();
        AcceptNextDialog([](QDialog* d) {
            auto* fonts = d->findChild<QFontDialog*>();
            QVERIFY(fonts);
            QFont italic(QStringLiteral("DejaVu Serif"));
            italic.setPointSize(20);
            italic.setItalic(true);
            fonts->setCurrentFont(italic);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Font.Name, QStringLiteral("DejaVu Serif"));
        QCOMPARE(dialog.Font.Size(), 20);
        QCOMPARE(dialog.Font.Style, TFontStyles(fsItalic));
        QCOMPARE(dialog.Font.Color, clRed);
    }

    // On a face without italic the user changes its weight: the weight is taken, the stored italic kept.
    void fontDialogTakesAWeightChangeAndKeepsTheItalic_data()
    {
        QTest::addColumn<unsigned>("stored");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<unsigned>("expected");
        QTest::newRow("italic made bold") << unsigned(fsItalic) << true << unsigned(fsBold | fsItalic);
        QTest::newRow("bold italic made regular") << unsigned(fsBold | fsItalic) << false << unsigned(fsItalic);
        QTest::newRow("bold made regular") << unsigned(fsBold) << false << 0u;
    }
    void fontDialogTakesAWeightChangeAndKeepsTheItalic()
    {
        QFETCH(unsigned, stored);
        QFETCH(bool, bold);
        QFETCH(unsigned, expected);
        TFontDialog dialog;
        dialog.Font = PracticeFont();
        dialog.Font.Style = stored;
        AcceptNextDialog([bold](QDialog* d) {
            auto* fonts = d->findChild<QFontDialog*>();
            QVERIFY(fonts);
            QFont face = fonts->currentFont();
            face.setBold(bold);
            face.setStyleName(bold ? QStringLiteral("Bold") : QStringLiteral("Regular"));
            fonts->setCurrentFont(face);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Font.Name, QStringLiteral("굴림체"));
        QCOMPARE(dialog.Font.Style, TFontStyles(expected));
    }

    void cancelLeavesTheFieldsAlone()
    {
        TFontDialog font;
        font.Font = PracticeFont();
        TColorDialog colour;
        colour.Color = clNavy;
        QTimer::singleShot(50, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        });
        QVERIFY(!font.Execute());
        QCOMPARE(font.Font, PracticeFont());
        SetColorDialogHook([](TColor& c) {
            c = clLime;
            return false;
        });
        QVERIFY(!colour.Execute());
        QCOMPARE(colour.Color, clNavy);
    }

    // The face list has the focus when the dialog opens; Escape there must close the whole dialog.
    void escapeInTheFontListCancelsTheFontDialog()
    {
        TFontDialog dialog;
        dialog.Font = PracticeFont();
        bool closed = false;
        QTimer::singleShot(50, [&closed] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            auto* fonts = d->findChild<QFontDialog*>();
            QVERIFY(fonts);
            QTest::keyClick(fonts->focusWidget() ? fonts->focusWidget() : fonts, Qt::Key_Escape);
            QCoreApplication::processEvents();
            closed = !d->isVisible();
            if (!closed) d->reject();
        });
        QVERIFY(!dialog.Execute());
        QVERIFY2(closed, "Escape left the dialog open, without its font list");
        QCOMPARE(dialog.Font.Name, QStringLiteral("굴림체"));
    }

    void hooksAnswerInsteadOfTheDialogs()
    {
        TFont seenFont;
        SetFontDialogHook([&](TFont& f) {
            seenFont = f;
            f.Color = clBlue;
            return true;
        });
        TFontDialog font;
        font.Font = PracticeFont();
        QVERIFY(font.Execute());
        QCOMPARE(seenFont, PracticeFont());
        QCOMPARE(font.Font.Color, clBlue);

        SetColorDialogHook([](TColor& c) {
            c = clLime;
            return true;
        });
        TColorDialog colour;
        colour.Options = cdFullOpen;
        QVERIFY(colour.Execute());
        QCOMPARE(colour.Color, clLime);

        SetOpenPictureDialogHook([](QString& name) {
            name = QStringLiteral("/tmp/a.png");
            return true;
        });
        TOpenPictureDialog picture;
        QVERIFY(picture.Execute());
        QCOMPARE(picture.FileName, QStringLiteral("/tmp/a.png"));
    }

    void colourDialogReturnsTheChosenColour()
    {
        TColorDialog dialog;
        dialog.Color = clRed;
        AcceptNextDialog([](QDialog* d) {
            auto* colours = qobject_cast<QColorDialog*>(d);
            QVERIFY(colours);
            QCOMPARE(colours->currentColor(), QColor(255, 0, 0));
            colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Color, RGB(0x12, 0x34, 0x56));
    }

    // Qt's own dialogs and stock buttons speak Korean like the rest of the program, on an English system too.
    void stockDialogsSpeakKorean()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(TApplication::InstallQtTranslation(), "Qt's Korean translation is missing (qt6-translations-l10n)");
        QColorDialog colours;
        QCOMPARE(colours.windowTitle(), QStringLiteral("색 선택"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("취소"));
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        QStringList labels;
        for (const QLabel* l : files.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY2(!labels.contains(QStringLiteral("Look in:")), qPrintable(labels.join(u'|')));
        QVERIFY2(labels.contains(QStringLiteral("다음에서 찾기:")), qPrintable(labels.join(u'|')));
        QLocale::setDefault(QLocale::system());
    }

    void pictureFilterListsTheReadableFormats()
    {
        const QString filter = TOpenPictureDialog::Filter();
        const QString all = filter.section(QStringLiteral(";;"), 0, 0);
        for (const char* ext : {"*.bmp", "*.png", "*.jpg", "*.ico"})
            QVERIFY2(all.contains(QLatin1String(ext)), ext);
        QVERIFY(filter.endsWith(QStringLiteral("(*)")));
    }

    void soundHookSeesWhatWouldPlay()
    {
        QStringList played;
        SetSoundHook([&](const QString& name) { played << name; });
        PlaySoundResource(QStringLiteral("CORRECTKEY"));
        PlaySoundResource(QStringLiteral("WRONGKEY"));
        StopSound();
        QCOMPARE(played, (QStringList{"CORRECTKEY", "WRONGKEY"}));
        SetSoundHook({});
        PlaySoundResource(QStringLiteral("THUNDER")); // played (or silently not, without a device)
        QCOMPARE(played.size(), 2);
    }
};

QTEST_MAIN(TestCommonDialogs)
#include "tst_CommonDialogs.moc"
