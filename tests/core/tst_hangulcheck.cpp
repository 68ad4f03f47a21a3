// The letter forms of Hangul syllables and letters, and the check of a syllable still being composed.
#include "engine/HangulCheck.h"

#include <QtTest>

#include <hangul.h>

namespace {
// The 2-set key of every letter, to type a letter form back into a real composer.
QHash<QChar, char> TwoSetKeys()
{
    const char* keys = "rRseEfaqQtTdwWczxvgkoiOjpuPhyn bml";
    const char16_t* letters = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎㅏㅐㅑㅒㅓㅔㅕㅖㅗㅛㅜ ㅠㅡㅣ";
    QHash<QChar, char> map;
    for (int i = 0; keys[i]; ++i)
        if (keys[i] != ' ') map.insert(QChar(letters[i]), keys[i]);
    return map;
}

QString Form(char16_t ch)
{
    QString form;
    return SplitHangul(ch, form) ? form : QStringLiteral("<none>");
}
} // namespace

class TestHangulCheck : public QObject
{
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void everySyllableAgreesWithUnicodeAndTypesBack();
    void compatibilityLetters();
    void notHangul_data();
    void notHangul();
    void composingCheck_data();
    void composingCheck();
};

void TestHangulCheck::examples_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("five");
    QTest::addColumn<QString>("letters");
    const char16_t* rows[][3] = {
        {u"한", u"ㅎㅏ.ㄴ.", u"ㅎㅏ.ㄴ"},
        {u"괜", u"ㄱㅗㅐㄴ.", u"ㄱㅗㅐㄴ"},
        {u"닭", u"ㄷㅏ.ㄹㄱ", u"ㄷㅏ.ㄹㄱ"},
        {u"가", u"ㄱㅏ...", u"ㄱㅏ"},
        {u"각", u"ㄱㅏ.ㄱ.", u"ㄱㅏ.ㄱ"},
        {u"과", u"ㄱㅗㅏ..", u"ㄱㅗㅏ"},
        {u"ㄱ", u"ㄱ....", u"ㄱ"},
        {u"ㅏ", u".ㅏ...", u".ㅏ"},
        {u"ㅘ", u".ㅗㅏ..", u".ㅗㅏ"},
        {u"ㄺ", u"...ㄹㄱ", u"...ㄹㄱ"},
        {u"힣", u"ㅎㅣ.ㅎ.", u"ㅎㅣ.ㅎ"},
        {u"ㅄ", u"...ㅂㅅ", u"...ㅂㅅ"},
        {u"뷁", u"ㅂㅜㅔㄹㄱ", u"ㅂㅜㅔㄹㄱ"},
        {u"ㄸ", u"ㄸ....", u"ㄸ"},
        {u"갔", u"ㄱㅏ.ㅆ.", u"ㄱㅏ.ㅆ"},
    };
    for (const auto& row : rows)
        QTest::newRow(QString::fromUtf16(row[0]).toUtf8())
            << QString::fromUtf16(row[0]) << QString::fromUtf16(row[1]) << QString::fromUtf16(row[2]);
}

void TestHangulCheck::examples()
{
    QFETCH(QString, character);
    QFETCH(QString, five);
    QFETCH(QString, letters);
    QString form;
    QVERIFY(SplitHangul(character[0].unicode(), form));
    QCOMPARE(form, five);
    QCOMPARE(LetterForm(form), letters);
}

// Every syllable: the initial and the vowel as Unicode decomposes it, a final exactly when Unicode has
// one, and the letters typed on a 2-set composer give the syllable back.
void TestHangulCheck::everySyllableAgreesWithUnicodeAndTypesBack()
{
    QHash<QChar, QChar> compat; // conjoining jamo -> compatibility letter
    for (char16_t c = 0x3131; c <= 0x3163; ++c) {
        const QString d = QChar(c).decomposition();
        if (d.size() == 1) compat.insert(d[0], QChar(c));
    }
    const QHash<QChar, char> keys = TwoSetKeys();
    HangulInputContext* hic = hangul_ic_new("2");
    int failures = 0;
    for (char16_t ch = 0xAC00; ch <= 0xD7A3 && failures < 5; ++ch) {
        QString form;
        if (!SplitHangul(ch, form) || form.size() != 5) {
            qWarning() << "no form for" << QString(QChar(ch));
            ++failures;
            continue;
        }
        const QString nfd = QString(QChar(ch)).normalized(QString::NormalizationForm_D);
        const bool initialOk = compat.value(nfd[0]) == form[0];
        const QChar vowel = compat.value(nfd[1]);
        const bool vowelOk = form[2] == u'.' ? vowel == form[1] : vowel != form[1];
        const bool finalOk = (nfd.size() == 3) == (form[3] != u'.');
        hangul_ic_reset(hic);
        for (QChar letter : form)
            if (letter != u'.') hangul_ic_process(hic, keys.value(letter));
        const ucschar* preedit = hangul_ic_get_preedit_string(hic);
        const bool typesBack = *hangul_ic_get_commit_string(hic) == 0 && preedit[0] == ch && preedit[1] == 0;
        if (!initialOk || !vowelOk || !finalOk || !typesBack) {
            qWarning() << QString(QChar(ch)) << form << initialOk << vowelOk << finalOk << typesBack;
            ++failures;
        }
    }
    hangul_ic_delete(hic);
    QCOMPARE(failures, 0);
}

void TestHangulCheck::compatibilityLetters()
{
    // Every letter of the tables splits; consonants land in place 1 (also those that could be finals).
    const QString consonants = QString::fromUtf16(InitialLetters);
    for (char16_t c = 0x3131; c <= 0x3163; ++c) {
        QString form;
        QVERIFY2(SplitHangul(c, form), qPrintable(QString(QChar(c))));
        if (consonants.contains(QChar(c)))
            QCOMPARE(form, QString(QChar(c)) + QStringLiteral("...."));
        else if (c >= 0x314F)
            QVERIFY(form.startsWith(u'.') && form.endsWith(QStringLiteral("..")) && form[1] != u'.');
        else
            QVERIFY(form.startsWith(QStringLiteral("...")) && form[3] != u'.' && form[4] != u'.');
    }
}

void TestHangulCheck::notHangul_data()
{
    QTest::addColumn<int>("character");
    QTest::newRow("latin") << int('a');
    QTest::newRow("digit") << int('1');
    QTest::newRow("blank") << int(' ');
    QTest::newRow("dot") << int('.');
    QTest::newRow("ideographic full stop") << 0x3002;
    QTest::newRow("chinese") << 0x6F22;
    QTest::newRow("full-width exclamation") << 0xFF01;
    QTest::newRow("hangul filler") << 0x3164;
    QTest::newRow("archaic letter") << 0x3165;
    QTest::newRow("conjoining jamo") << 0x1100;
    QTest::newRow("before the syllables") << 0xABFF;
    QTest::newRow("after the syllables") << 0xD7A4;
}

void TestHangulCheck::notHangul()
{
    QFETCH(int, character);
    QCOMPARE(Form(char16_t(character)), QStringLiteral("<none>"));
}

void TestHangulCheck::composingCheck_data()
{
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("composing");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("composingChar");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("letters");

    auto row = [](const char* name, bool check, bool composing, const char16_t* problem, const char16_t* typed,
                  const char16_t* ch, bool right, const char16_t* letters) {
        QTest::newRow(name) << check << composing << QString::fromUtf16(problem) << QString::fromUtf16(typed)
                            << QString::fromUtf16(ch) << right << QString::fromUtf16(letters);
    };
    row("check off", false, true, u"가", u"", u"거", true, u"");
    row("not composing", true, false, u"가", u"", u"거", true, u"");
    row("same syllable", true, true, u"가", u"", u"가", true, u"ㄱㅏ");
    row("part of the target", true, true, u"각", u"", u"가", true, u"ㄱㅏ");
    row("final may move on", true, true, u"가", u"", u"각", true, u"ㄱㅏ.ㄱ");
    row("wrong vowel", true, true, u"가", u"", u"거", false, u"ㄱㅓ");
    row("lone initial", true, true, u"가", u"", u"ㄱ", true, u"ㄱ");
    row("lone wrong initial", true, true, u"가", u"", u"ㄴ", false, u"ㄴ");
    row("lone vowel", true, true, u"아", u"", u"ㅏ", false, u".ㅏ");
    row("compound vowel half", true, true, u"과", u"", u"고", true, u"ㄱㅗ");
    row("compound vowel other", true, true, u"과", u"", u"귀", false, u"ㄱㅜㅣ");
    row("compound final half", true, true, u"닭", u"", u"달", true, u"ㄷㅏ.ㄹ");
    row("second position", true, true, u"한글", u"한", u"그", true, u"ㄱㅡ");
    row("checked at typed length", true, true, u"한글", u"한", u"하", false, u"ㅎㅏ");
    row("target latin", true, true, u"a", u"", u"ㅁ", false, u"");
    row("target blank", true, true, u"가 나", u"가", u"ㄴ", false, u"");
    row("composing not hangul", true, true, u"가", u"", u"。", false, u"");
    row("line full", true, true, u"가", u"가", u"가", false, u"");
    row("past the end", true, true, u"가", u"가나", u"가", false, u"");
}

void TestHangulCheck::composingCheck()
{
    QFETCH(bool, check);
    QFETCH(bool, composing);
    QFETCH(QString, problem);
    QFETCH(QString, typed);
    QFETCH(QString, composingChar);
    QFETCH(bool, right);
    QFETCH(QString, letters);
    QString out;
    QCOMPARE(IsComposingCharRight(check, composing, problem, typed, composingChar[0].unicode(), out), right);
    QCOMPARE(out, letters);
}

QTEST_APPLESS_MAIN(TestHangulCheck)
#include "tst_hangulcheck.moc"
