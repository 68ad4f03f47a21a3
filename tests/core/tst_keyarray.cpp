// The key-layout tables: captions and caption positions of every cap in the four layouts, the number and
// symbol practice keys, and the finger of every key.
#include "screens/KeyArray.h"
#include "screens/KeyPractice.h"
#include "tests/support/UsKeys.h"

#include <QtTest>

using namespace KeyArray;

namespace {
// The on-screen rows as a US keyboard prints them: the order of the expected strings below.
const QString kUsRows = QStringLiteral("`1234567890-=\\QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,./");

QString CaptionsOf(const TKeyCaps& caps)
{
    QString s;
    for (QChar c : kUsRows)
        s += caps.Cap(KeyOfUs(c)).Caption;
    return s;
}

// "M" middle, "B" bottom, "R" bottom right, per cap in row order.
QString AlignmentsOf(const TKeyCaps& caps)
{
    QString s;
    for (QChar c : kUsRows)
        s += QLatin1Char("MBR"[int(caps.Cap(KeyOfUs(c)).Alignment)]);
    return s;
}

// The keys (as US characters) whose cap has the colour, in row order.
QString KeysColoured(const TKeyCaps& caps, TColor color)
{
    QString s;
    for (QChar c : kUsRows)
        if (caps.Cap(KeyOfUs(c)).Color == color) s += c;
    return s;
}

const QString k2Set = QStringLiteral("`1234567890-=\\ㅂㅈㄷㄱㅅㅛㅕㅑㅐㅔ[]ㅁㄴㅇㄹㅎㅗㅓㅏㅣ;'ㅋㅌㅊㅍㅠㅜㅡ,./");
const QString kEnglish = kUsRows;
const QString k390 =
    QStringLiteral("`ㅎㅆㅂㅛㅠㅑㅖㅢㅜㅋ-=\\ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ[]ㅇㄴㅣㅏㅡㄴㅇㄱㅈㅂㅌㅁㄱㅔㅗㅜㅅㅎ,.ㅗ");
const QString kFinal =
    QStringLiteral("`ㅎㅆㅂㅛㅠㅑㅖㅢㅜㅋ)>:ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ(<ㅇㄴㅣㅏㅡㄴㅇㄱㅈㅂㅌㅁㄱㅔㅗㅜㅅㅎ,.ㅗ");
const QString kAllMiddle = QString(47, QLatin1Char('M'));
//                                         `1234567890-=\QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,./
const QString k3SetAlign = QStringLiteral("MBBBMMMMMMMMMMBBMMMMMMMMMMBBMMMMMMMMMBBMMMMMMMM");
} // namespace

class TestKeyArray : public QObject
{
    Q_OBJECT
private slots:
    // Setups are "item:position" runs of the setup dialog's OK (items: 0 2-set, 1 English, 2 3-90, 3 final).
    void captionsOfEveryCap_data()
    {
        QTest::addColumn<QString>("setups");
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("alignments");
        QTest::newRow("2-set") << "0:0" << k2Set << kAllMiddle;
        QTest::newRow("English") << "1:0" << kEnglish << kAllMiddle;
        QTest::newRow("3-90") << "2:0" << k390 << k3SetAlign;
        QTest::newRow("final") << "3:0" << kFinal << k3SetAlign;
        QTest::newRow("final keeps the grave cap of 2-set symbols")
            << "0:8 3:0" << QString(kFinal).replace(0, 1, QStringLiteral("~")) << k3SetAlign;
        QTest::newRow("3-90 after final writes its own punctuation") << "3:0 2:0" << k390 << k3SetAlign;
        QTest::newRow("2-set after the 3-90 Shift caps") << "2:10 0:0" << k2Set << kAllMiddle;
        QTest::newRow("English after final group 1") << "3:11 1:0" << kEnglish << kAllMiddle;
        // Only the chosen group is relabelled.
        QTest::newRow("final group 1")
            << "3:11"
            << QStringLiteral("`ㄲㄺㅈㄿㄾㅑㅖㅢㅜㅋ)>:ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ(<ㅇㄴㅣㅏㅡㄴㅇㄱㅈㅂㅌㅁㄱㅔㅗㅜㅅㅎ,.ㅗ")
            << QStringLiteral("MBBBBBMMMMMMMMBBMMMMMMMMMMBBMMMMMMMMMBBMMMMMMMM");
        QTest::newRow("final group 3: G in the middle")
            << "3:13"
            << QStringLiteral("`ㅎㅆㅂㅛㅠㅑㅖㅢㅜㅋ)>:ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ(<ㄷㄶㄼㄻㅒㄴㅇㄱㅈㅂㅌㅁㄱㅔㅗㅜㅅㅎ,.ㅗ")
            << QStringLiteral("MBBBMMMMMMMMMMBBMMMMMMMMMMBBBBMMMMMMMBBMMMMMMMM");
        QTest::newRow("final group 4: B in the middle")
            << "3:14"
            << QStringLiteral("`ㅎㅆㅂㅛㅠㅑㅖㅢㅜㅋ)>:ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ(<ㅇㄴㅣㅏㅡㄴㅇㄱㅈㅂㅌㅊㅄㅋㄳ?ㅅㅎ,.ㅗ")
            << QStringLiteral("MBBBMMMMMMMMMMBBMMMMMMMMMMBBMMMMMMMMMBBBBMMMMMM");
        QTest::newRow("3-90 Shift caps")
            << "2:10"
            << QStringLiteral("`ㅈㅆㅂㅛㅠㅑㅖㅢㅜㅋ-=\\ㅍㅌㅋㅐㅓㄹㄷㅁㅊㅍ[]ㄷㄶㄺㄲㅡㄴㅇㄱㅈㅂㅌㅊㅄㄻㅀㅜㅅㅎ,.ㅗ")
            << QStringLiteral("MBBBMMMMMMMMMMBBBMMMMMMMMMBBBBMMMMMMMBBBBMMMMMM");
        QTest::newRow("3-90 numbers")
            << "2:7"
            << QStringLiteral("`ㅎㅆㅂㅛㅠㅑㅖㅢㅜㅋ-=\\ㅅㄹㅕㅐㅓㄹ789ㅍ[]ㅇㄴㅣㅏㅡㄴ456ㅂㅌㅁㄱㅔㅗㅜ0123ㅗ")
            << k3SetAlign;
        QTest::newRow("2-set symbols")
            << "0:8" << QStringLiteral("~!@#$%^&*()_+|ㅂㅈㄷㄱㅅㅛㅕㅑㅐㅔ[]ㅁㄴㅇㄹㅎㅗㅓㅏㅣ;'ㅋㅌㅊㅍㅠㅜㅡ,./")
            << kAllMiddle;
        QTest::newRow("3-90 symbols: middle")
            << "2:8" << QStringLiteral("~ㅎ@#$%^&*()_+|ㅅㄹㅕㅐ;<ㄷㅁㅊ>{}ㅇㄴㅣㅏ/'ㅇㄱㅈ:\"ㅁㄱㅔㅗ!ㅅㅎ,.?")
            << QStringLiteral("MBMMMMMMMMMMMMBBMMMMMMMMMMBBMMMMMMMMMBBMMMMMMMM");
        QTest::newRow("final symbols: middle")
            << "3:8"
            << QStringLiteral("`ㅎㅆㅂㅛㅠ=\"\"'~;+\\ㅅㄹㅕㅐㅓㄹㄷㅁㅊㅍ%/ㅇㄴㅣㅏㅡㄴㅇㄱㅈㅂ'ㅁㄱㅔㅗ?-\",.!")
            << k3SetAlign;
    }
    void captionsOfEveryCap()
    {
        QFETCH(QString, setups);
        QFETCH(QString, captions);
        QFETCH(QString, alignments);
        TKeyPractice practice;
        for (const QString& setup : setups.split(u' ')) {
            const QStringList parts = setup.split(u':');
            practice.Configure(parts[0].toInt(), PracticePositionOf(parts[1].toInt()), true, false);
        }
        QCOMPARE(CaptionsOf(practice.Caps), captions);
        QCOMPARE(AlignmentsOf(practice.Caps), alignments);
    }

    void setCaptionMakesEveryCapNeutral()
    {
        TKeyCaps caps;
        SetSpecialKeys(caps, kl2Set);
        caps.Cap('A').Color = kProblemColor;
        caps.Cap('A').FontColor = 0xFF;
        caps.RShift.Color = kProblemColor;
        setCaption(caps, klFinal);
        QCOMPARE(KeysColoured(caps, kNeutralColor), kUsRows);
        QCOMPARE(caps.Cap('A').FontColor, TColor(0));
        QCOMPARE(caps.RShift.Color, kNeutralColor);
        QCOMPARE(caps.LShift.Color, kNeutralColor);
    }

    // Pairs of (US character of the key, caption written on it), in table order.
    void practiceKeysAreCaptionedAndHighlighted_data()
    {
        QTest::addColumn<bool>("symbols");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("pairs");
        QTest::newRow("numbers 2-set") << false << int(kl2Set) << "11223344556677889900";
        QTest::newRow("numbers English") << false << int(klEnglish) << "11223344556677889900";
        QTest::newRow("numbers 3-90") << false << int(kl390) << "U7I8O9J4K5L6N0M1,2.3";
        QTest::newRow("numbers final") << false << int(klFinal) << "Y5U6I7O8P9H0J1K2L3;4";
        QTest::newRow("symbols 2-set") << true << int(kl2Set) << "`~1!2@3#4$5%6^7&8*9(0)-_=+\\|[[]];;'',,..//";
        QTest::newRow("symbols English") << true << int(klEnglish) << "`~1!2@3#4$5%6^7&8*9(0)-_=+\\|[[]];;'',,..//";
        QTest::newRow("symbols 3-90") << true << int(kl390) << "`~2@3#4$5%6^7&8*9(0)-_=+\\|T;Y<P>[{]}G/H';:'\"B!/?";
        QTest::newRow("symbols final") << true << int(klFinal) << "6=7\"8\"9'0~-;=+\\\\[%]/''B?N-M\"/!";
    }
    void practiceKeysAreCaptionedAndHighlighted()
    {
        QFETCH(bool, symbols);
        QFETCH(int, language);
        QFETCH(QString, pairs);
        TKeyCaps caps;
        setCaption(caps, uint8_t(language));
        symbols ? SetSpecialKeys(caps, uint8_t(language)) : SetNumberKeys(caps, uint8_t(language));
        QString expectedKeys;
        for (int i = 0; i < pairs.size(); i += 2) {
            QCOMPARE(caps.Cap(KeyOfUs(pairs[i])).Caption, QString(pairs[i + 1]));
            QCOMPARE(caps.Cap(KeyOfUs(pairs[i])).FontColor, TColor(0));
            expectedKeys += pairs[i];
        }
        QString highlighted = KeysColoured(caps, kPracticeColor);
        std::sort(highlighted.begin(), highlighted.end());
        std::sort(expectedKeys.begin(), expectedKeys.end());
        QCOMPARE(highlighted, expectedKeys);
    }

    void symbolsLeaveAlignmentIn2SetButCentreIn3Set()
    {
        TKeyCaps caps;
        caps.Cap('1').Alignment = TAlignment::alBottomCenter;
        SetSpecialKeys(caps, kl2Set);
        QCOMPARE(caps.Cap('1').Alignment, TAlignment::alBottomCenter);
        caps.Cap('2').Alignment = TAlignment::alBottomCenter;
        SetSpecialKeys(caps, kl390);
        QCOMPARE(caps.Cap('2').Alignment, TAlignment::alMiddleCenter);
    }

    void everyKeyHasItsFinger()
    {
        // Per cap in row order: 0 left little finger .. 3 left index, 4 right index .. 7 right little finger.
        const QString fingers = QStringLiteral("00123344556777012334456777012334456770123344567");
        for (int i = 0; i < kUsRows.size(); ++i) {
            const int key = KeyOfUs(kUsRows[i]);
            const int finger = fingers[i].digitValue();
            QCOMPARE(int(FingerOf(key)), finger);
            QCOMPARE(IsLeftHandKey(key), finger < 4);
        }
    }

    void keysWithoutACapHaveNoFingerAndNoHand_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("none") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("Shift") << 16;
        QTest::newRow("Space") << 32;
        QTest::newRow("47, below the digits") << 47;
        QTest::newRow("input method") << 229;
        QTest::newRow("ISO extra key") << 226;
    }
    void keysWithoutACapHaveNoFingerAndNoHand()
    {
        QFETCH(int, key);
        QCOMPARE(FingerOf(key), kFingerCount);
        QVERIFY(!IsLeftHandKey(key));
        QVERIFY(!IsCharKey(key));
    }
};

QTEST_APPLESS_MAIN(TestKeyArray)
#include "tst_keyarray.moc"
