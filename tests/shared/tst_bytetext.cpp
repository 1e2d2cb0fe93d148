// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/bytetext.h"

#include <QTest>

class TestByteText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void survives_data();
    void survives();
    void shortByteStringsComeBack();
};

void TestByteText::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const auto esc = [](std::initializer_list<uchar> bytes) {
        QString text;
        for (const uchar b : bytes)
            text += QChar(char16_t(0xDC00 + b));
        return text;
    };
    QTest::newRow("ASCII with NUL") << QByteArray("a\0b", 3) << QString::fromUtf8("a\0b", 3);
    QTest::newRow("UTF-8 of 2, 3 and 4 bytes")
        << QByteArray("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80") << QString::fromUtf8("ä€😀");
    QTest::newRow("first and last code points of each length")
        << QByteArray("\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF")
        << QString::fromUcs4(U"\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF");
    QTest::newRow("Latin-1") << QByteArray("caf\xE9 \xC4rger")
                             << "caf" + esc({0xE9}) + " " + esc({0xC4}) + "rger";
    QTest::newRow("lone continuation") << QByteArray("\x80\xBF") << esc({0x80, 0xBF});
    QTest::newRow("sequence cut short")
        << QByteArray("\xE2\x82x\xF0\x9F\x98") << esc({0xE2, 0x82}) + "x" + esc({0xF0, 0x9F, 0x98});
    QTest::newRow("overlong forms") << QByteArray("\xC0\x80\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF")
                                    << esc({0xC0, 0x80, 0xC1, 0xBF, 0xE0, 0x9F, 0xBF, 0xF0, 0x8F, 0xBF,
                                            0xBF});
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80\xED\x9F\xBF") << esc({0xED, 0xA0, 0x80}) + QChar(char16_t(0xD7FF));
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80\xF5\x80")
                                     << esc({0xF4, 0x90, 0x80, 0x80, 0xF5, 0x80});
    QTest::newRow("bytes that look like escapes in UTF-8")
        << QByteArray("\xED\xB2\x80") << esc({0xED, 0xB2, 0x80});
    QTest::newRow("FE FF") << QByteArray("\xFE\xFF") << esc({0xFE, 0xFF});
}

void TestByteText::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextFromBytes(bytes), text);
    QCOMPARE(BytesFromText(text), bytes);
    QVERIFY(SurvivesBytes(text));
}

void TestByteText::survives_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // Text that no bytes decode to: its bytes decode to something else.
    QTest::newRow("escapes that spell UTF-8")
        << QStringView(u"\xDCC3\xDCA9").toString() << QByteArray("\xC3\xA9");
    QTest::newRow("lone high surrogate") << QStringView(u"a\xD800").toString() << QByteArray("a\xEF\xBF\xBD");
    QTest::newRow("lone low surrogate below the escapes")
        << QStringView(u"\xDC7F").toString() << QByteArray("\xEF\xBF\xBD");
}

void TestByteText::survives()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(BytesFromText(text), bytes);
    QVERIFY(!SurvivesBytes(text));
}

void TestByteText::shortByteStringsComeBack()
{
    // Every string of up to four bytes drawn from the edges of the UTF-8 ranges.
    const QByteArray edges("\x00\x41\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0\xC2\xDF\xE0\xED\xEF\xF0\xF4\xF5\xFF",
                           19);
    QByteArray bytes;
    const auto check = [&](const auto& self, int depth) -> void {
        const QString text = TextFromBytes(bytes);
        QCOMPARE(BytesFromText(text), bytes);
        if (depth == 4)
            return;
        for (const char b : edges) {
            bytes.append(b);
            self(self, depth + 1);
            bytes.chop(1);
        }
    };
    check(check, 0);
}

QTEST_APPLESS_MAIN(TestByteText)
#include "tst_bytetext.moc"
