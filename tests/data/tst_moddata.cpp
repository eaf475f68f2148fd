#include "data/AnsiCodePage.h"
#include "data/ModData.h"

#include <QTest>

#include <algorithm>
#include <string_view>
#include <tuple>

using namespace std::string_view_literals;

namespace {

// A text with embedded U+0000 characters.
QString S(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

void PutBytes(InfoImageType& image, int offset, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
}

QByteArray ImageBytes(const InfoImageType& image, int offset, int count)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()) + offset, count);
}

// Where each encoded text field lives, indexed by TextField.
struct FieldPlace
{
    int offset;
    int width;
    QString RadioInfoRecord::*text;
};
const std::array<FieldPlace, 5> Places{{{60, 4, &RadioInfoRecord::ProgramPassword},
                                        {80, 16, &RadioInfoRecord::DealerCode},
                                        {96, 16, &RadioInfoRecord::StockDate},
                                        {112, 16, &RadioInfoRecord::SellDate},
                                        {128, 16, &RadioInfoRecord::Seller}}};
const FieldPlace& PlaceOf(TextField field)
{
    return Places[size_t(field)];
}

// A busy image: every byte differs from its neighbours, and no text field ends early.
InfoImageType PatternImage()
{
    InfoImageType image{};
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(0x21 + (i * 7) % 90);
    return image;
}

} // namespace

Q_DECLARE_METATYPE(TextField)

class TestModData : public QObject
{
    Q_OBJECT
    InfoImageType image{};
    RadioInfoRecord info;
    AnsiCodePage page;

private slots:
    void init()
    {
        image = {};
        info = {};
        page = AnsiCodePage("windows-1252");
    }

    void trimText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& text, const char* expected) {
            QTest::newRow(name) << text << QString(expected);
        };
        row("spaces after marker stay before it", S(u"ab \0   "sv), "ab ");
        row("trailing spaces go", "ab    ", "ab");
        row("marker only", S(u"\0   "sv), "");
        row("inner spaces stay", " a b", " a b");
        row("tab is no space", "ab\t", "ab\t");
        row("cut before first marker", S(u"ab\0cd\0"sv), "ab");
    }
    void trimText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TrimText(text), expected);
    }

    void decodeTextField_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::newRow("ends at 0x00") << QByteArray("ABC\0XYZ", 7) << S(u"ABC\0            "sv);
        QTest::newRow("ends at 0xFF") << QByteArray("ABC\xFFXYZ") << S(u"ABC\0            "sv);
        QTest::newRow("all 0xFF is empty") << QByteArray(16, '\xFF') << S(u"\0               "sv);
        QTest::newRow("full width, no marker") << QByteArray("0123456789ABCDEF") << "0123456789ABCDEF";
        QTest::newRow("trailing spaces kept before marker")
            << QByteArray("AB  \0", 5) << S(u"AB  \0           "sv);
    }
    void decodeTextField()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        PutBytes(image, Layout::DealerCode, bytes);
        info = DecodeInfo(image, page);
        QCOMPARE(info.DealerCode, field);
        QCOMPARE(info.DealerCode.size(), 16);
    }

    void decodeSwitches_data()
    {
        QTest::addColumn<int>("byte13");
        QTest::addColumn<int>("byte14");
        QTest::addColumn<QList<int>>(
            "flags"); // FiveTone TwoTone Dtmf Scramble FactoryMode BandSetting Kill Faint
        QTest::newRow("none") << 0x00 << 0x00 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("bit 7") << 0x80 << 0x00 << QList<int>{1, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("bit 6") << 0x40 << 0x00 << QList<int>{0, 1, 0, 0, 0, 0, 0, 0};
        QTest::newRow("bit 5") << 0x20 << 0x00 << QList<int>{0, 0, 1, 0, 0, 0, 0, 0};
        QTest::newRow("bit 4") << 0x10 << 0x00 << QList<int>{0, 0, 0, 1, 0, 0, 0, 0};
        QTest::newRow("bit 3") << 0x08 << 0x00 << QList<int>{0, 0, 0, 0, 1, 0, 0, 0};
        QTest::newRow("bit 2") << 0x04 << 0x00 << QList<int>{0, 0, 0, 0, 0, 1, 0, 0};
        QTest::newRow("bits 1 and 0 mean nothing") << 0x03 << 0xFC << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("kill") << 0x00 << 0x01 << QList<int>{0, 0, 0, 0, 0, 0, 1, 0};
        QTest::newRow("faint") << 0x00 << 0x02 << QList<int>{0, 0, 0, 0, 0, 0, 0, 1};
        QTest::newRow("all") << 0xFF << 0xFF << QList<int>{1, 1, 1, 1, 1, 1, 1, 1};
    }
    void decodeSwitches()
    {
        QFETCH(int, byte13);
        QFETCH(int, byte14);
        QFETCH(QList<int>, flags);
        image[13] = static_cast<uint8_t>(byte13);
        image[14] = static_cast<uint8_t>(byte14);
        info = DecodeInfo(image, page);
        const QList<int> got{info.FiveTone,    info.TwoTone,     info.Dtmf, info.Scramble,
                             info.FactoryMode, info.BandSetting, info.Kill, info.Faint};
        QCOMPARE(got, flags);
    }

    void decodeBandAndAreaCode()
    {
        image[7] = 25; // no row in the band table: kept as it is
        PutBytes(image, 9,
                 QByteArray("05\xFF"
                            "9"));
        info = DecodeInfo(image, page);
        QCOMPARE(info.BandIndex, int16_t(25));
        QCOMPARE(info.AreaCode, QStringLiteral("05"));
    }

    void encodeBandSettingTouchesBit2Only_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("bandSetting");
        QTest::addColumn<int>("after");
        QTest::newRow("set on zero") << 0x00 << 1 << 0x04;
        QTest::newRow("clear on all") << 0xFF << 0 << 0xFB;
        QTest::newRow("set keeps others") << 0xA3 << 1 << 0xA7;
        QTest::newRow("clear keeps others") << 0xA7 << 0 << 0xA3;
    }
    void encodeBandSettingTouchesBit2Only()
    {
        QFETCH(int, before);
        QFETCH(int, bandSetting);
        QFETCH(int, after);
        image[13] = static_cast<uint8_t>(before);
        image[14] = 0x5A;
        info.BandSetting = static_cast<int16_t>(bandSetting);
        info.FiveTone = info.Kill = info.Faint = 1; // never encoded
        image = EncodeInfo(image, info, page);
        QCOMPARE(int(image[13]), after);
        QCOMPARE(int(image[14]), 0x5A);
    }

    // Only byte 7, bit 2 of byte 13 and the five editable text fields change.
    void encodeLeavesOtherBytes()
    {
        const InfoImageType before = PatternImage();
        image = before;
        info = DecodeInfo(image, page);
        info.AreaCode = "9999";
        info.SerialNumber = FixedText("changed", 16, false);
        info.MaintenanceDescription = FixedText("changed", 64, false);
        info.Scramble = 1 - info.Scramble;
        info.BandIndex = 3;
        info.DealerCode = FixedText("D", 16, false);
        image = EncodeInfo(image, info, page);
        for (int i = 0; i < Layout::ImageSize; ++i) {
            const bool encoded = i == 7 || i == 13 || (i >= 60 && i < 64) || (i >= 80 && i < 144);
            if (!encoded)
                QVERIFY2(image[size_t(i)] == before[size_t(i)], qPrintable(QString("byte %1").arg(i)));
        }
        QCOMPARE(int(image[7]), 3);
        QCOMPARE(ImageBytes(image, 80, 16), QByteArray("D").leftJustified(16, '\0'));
    }

    // Decoding and encoding again: a text field the user left alone goes back as it was; one taken
    // from the window is written whole, so the bytes after its text's end (an 0xFF end byte and what
    // follows it, the spaces ending a text that filled its field) become 0x00.
    void roundTrip_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::newRow("nothing edited: every byte as it was") << false;
        QTest::newRow("every text edited: the tails become zero") << true;
    }
    void roundTrip()
    {
        QFETCH(bool, edited);
        PutBytes(image, 60, QByteArray("12\xFF\x33"));                        // password ends at 0xFF
        PutBytes(image, 80, QByteArray("DEALER    ").leftJustified(16, ' ')); // fills the field with spaces
        PutBytes(image, 96, QByteArray(16, '\xFF'));                          // empty: 0xFF area
        PutBytes(image, 112, QByteArray("2026-01-02\0junk", 15));
        PutBytes(image, 128, QByteArray("Seller Name\xFFzz"));
        image[13] = 0xE4;
        const InfoImageType before = image;
        info = DecodeInfo(image, page);
        const TextFieldSet encode = edited ? TextFieldSet::All() : TextFieldSet{};
        image = EncodeInfo(image, info, page, encode);
        if (edited) {
            QCOMPARE(ImageBytes(image, 60, 4), QByteArray("12\0\0", 4));
            QCOMPARE(ImageBytes(image, 80, 16), QByteArray("DEALER").leftJustified(16, '\0'));
            QCOMPARE(ImageBytes(image, 96, 16), QByteArray(16, '\0'));
            QCOMPARE(ImageBytes(image, 112, 16), QByteArray("2026-01-02").leftJustified(16, '\0'));
            QCOMPARE(ImageBytes(image, 128, 16), QByteArray("Seller Name").leftJustified(16, '\0'));
        }
        for (int i = 0; i < Layout::ImageSize; ++i)
            if (!edited || !((i >= 60 && i < 64) || (i >= 80 && i < 144)))
                QCOMPARE(image[size_t(i)], before[size_t(i)]);
    }

    // In every code page the program may use: a text field that was not edited goes back byte for
    // byte, though its bytes do not survive a decode and encode (a lead byte without its trail byte,
    // a byte the page leaves undefined, the space ending a full field); the edited one is encoded,
    // in the page given, and zero-filled over the 0xFF it held.
    void untouchedFieldKeepsItsBytes_data()
    {
        QTest::addColumn<QByteArray>("pageName");
        QTest::addColumn<TextField>("untouched");
        QTest::addColumn<QByteArray>("bytes"); // the untouched field's
        QTest::addColumn<TextField>("edited");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("encoded"); // the edited text in that page
        using enum TextField;
        const auto row = [](const char* name, TextField untouched, const char* hex, TextField edited,
                            const QString& text, const char* encodedHex) {
            // The page's troublesome bytes over the whole field, ending in a space.
            const QByteArray pattern = QByteArray::fromHex(hex);
            const int width = PlaceOf(untouched).width;
            QByteArray bytes = pattern.repeated(width).left(width - 1) + ' ';
            QTest::addRow("%s", name) << QByteArray(name) << untouched << bytes << edited << text
                                      << QByteArray::fromHex(encodedHex);
        };
        row("GBK", Seller, "d620", DealerCode, QStringLiteral("张三"), "d5c5c8fd");
        row("Big5", DealerCode, "969696", Seller, QStringLiteral("張三"), "b169a454");
        row("Shift_JIS", StockDate, "a0", SellDate, QStringLiteral("山田"), "8e529363");
        row("windows-949", SellDate, "c61f", StockDate, QStringLiteral("김민수"), "b1e8b9cebcf6");
        row("windows-874", ProgramPassword, "dbdcdd", DealerCode, QStringLiteral("สมชาย"), "cac1aad2c2");
        row("windows-1250", Seller, "8183889098", ProgramPassword, QStringLiteral("Łódź"), "a3f3649f");
        row("windows-1251", DealerCode, "98", Seller, QStringLiteral("Иван"), "c8e2e0ed");
        row("windows-1252", StockDate, "818d8f909d", Seller, QStringLiteral("José"), "4a6f73e9");
        row("windows-1253", SellDate, "d2", DealerCode, QStringLiteral("Νίκος"), "cddfeaeff2");
        row("windows-1254", ProgramPassword, "818d8e", Seller, QStringLiteral("Ayşe"), "4179fe65");
        row("windows-1255", Seller, "cad9fb", DealerCode, QStringLiteral("דוד"), "e3e5e3");
        row("windows-1256", DealerCode, "818d8e90", Seller, QStringLiteral("علي"),
            "dae1ed"); // every byte defined
        row("windows-1257", StockDate, "a1a5", SellDate, QStringLiteral("Jānis"), "4ae26e6973");
        row("windows-1258", SellDate, "818a8d8e8f909a9d9e", DealerCode, QStringLiteral("Hà"), "48e0");
        QTest::newRow("0xFF field stays 0xFF")
            << QByteArray("windows-1252") << DealerCode << QByteArray(16, '\xFF') << Seller << QString("Li")
            << QByteArray("Li");
        QTest::newRow("bytes after the end stay")
            << QByteArray("windows-1252") << Seller << QByteArray("Li\0junk\xFFjunk\0\0\0", 16)
            << ProgramPassword << QString("1234") << QByteArray("1234");
    }
    void untouchedFieldKeepsItsBytes()
    {
        QFETCH(QByteArray, pageName);
        QFETCH(TextField, untouched);
        QFETCH(QByteArray, bytes);
        QFETCH(TextField, edited);
        QFETCH(QString, text);
        QFETCH(QByteArray, encoded);
        page = AnsiCodePage(pageName);
        QCOMPARE(page.Name(), pageName);
        image = PatternImage();
        PutBytes(image, PlaceOf(untouched).offset, bytes);
        const FieldPlace& place = PlaceOf(edited);
        PutBytes(image, place.offset, QByteArray(place.width, '\xFF'));
        InfoImageType expected = image;
        RadioInfoRecord record = DecodeInfo(image, page);
        record.*place.text = FixedText(text, place.width, false);

        image = EncodeInfo(image, record, page, {edited});

        std::ranges::copy(encoded.leftJustified(place.width, '\0'), expected.begin() + place.offset);
        const auto hex = [](const InfoImageType& all) {
            return QByteArray(reinterpret_cast<const char*>(all.data()), Layout::ImageSize).toHex(' ');
        };
        QCOMPARE(hex(image), hex(expected));
    }

    // Double-byte characters are never split: what does not fit whole is dropped, its bytes zero.
    void putImageTextCutsAtCharacterBoundary_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("gbk");
        const QString han16 = QString(16, QChar(0x4E2D));     // 16 x 中, 32 bytes in GBK
        const QByteArray zhong = QByteArray::fromHex("d6d0"); // 中
        QTest::newRow("16 double-byte in 16 bytes") << han16 << 16 << zhong.repeated(8);
        QTest::newRow("odd cut drops the whole char")
            << QStringLiteral("a中文") << 4 << QByteArray("a") + zhong + '\0';
        QTest::newRow("exact fit") << QStringLiteral("中文") << 4 << QByteArray::fromHex("d6d0cec4");
        QTest::newRow("empty is zeros") << QString() << 16 << QByteArray(16, '\0');
    }
    void putImageTextCutsAtCharacterBoundary()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QByteArray, gbk);
        page = AnsiCodePage("GBK");
        image.fill(0xEE);
        image = PutImageText(image, 128, text, width, page);
        QCOMPARE(ImageBytes(image, 128, width), gbk.leftJustified(width, '\0'));
        QCOMPARE(int(image[size_t(128 + width)]), 0xEE);
    }

    void decodeDoubleByteText()
    {
        page = AnsiCodePage("GBK");
        PutBytes(image, 128, QByteArray::fromHex("d5c5c8fd") + QByteArray(12, '\0')); // 张三
        info = DecodeInfo(image, page);
        QCOMPARE(TrimText(info.Seller), QStringLiteral("张三"));
    }

    void defaults()
    {
        info = SetDefaultInfo(QDate(2026, 12, 7));
        QCOMPARE(info.SerialNumber, QStringLiteral("2026120700000001"));
        QCOMPARE(info.ManufactureCode, QStringLiteral("12-1-E-1"));
        QCOMPARE(info.UserCode, QStringLiteral("001A"));
        QCOMPARE(info.ProgramPassword, S(u"\0   "sv));
        QCOMPARE(TrimText(info.ProductionDate),
                 QLocale::system().toString(QDate(2026, 12, 7), QLocale::ShortFormat));
        QCOMPARE(info.ProductionDate.size(), 16);
        QCOMPARE(info.Version, QStringLiteral("V1.00"));
        QCOMPARE(info.AreaCode, QStringLiteral("0595"));
        QCOMPARE(info.Model, QStringLiteral("RZ614UV"));
        const QList<int> flags{info.FiveTone, info.TwoTone,     info.Dtmf,        info.Scramble, info.Kill,
                               info.Faint,    info.FactoryMode, info.BandSetting, info.BandIndex};
        QCOMPARE(flags, (QList<int>{1, 1, 1, 0, 0, 0, 0, 0, 0}));
    }

    void codePageForLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("zh_CN") << "zh_CN" << QByteArray("GBK");
        QTest::newRow("zh_SG") << "zh_SG" << QByteArray("GBK");
        QTest::newRow("zh_TW") << "zh_TW" << QByteArray("Big5");
        QTest::newRow("zh_HK") << "zh_HK" << QByteArray("Big5");
        QTest::newRow("ja_JP") << "ja_JP" << QByteArray("Shift_JIS");
        QTest::newRow("ko_KR") << "ko_KR" << QByteArray("windows-949");
        QTest::newRow("ru_RU") << "ru_RU" << QByteArray("windows-1251");
        QTest::newRow("sr Latin") << "sr_Latn_RS" << QByteArray("windows-1250");
        QTest::newRow("pl_PL") << "pl_PL" << QByteArray("windows-1250");
        QTest::newRow("el_GR") << "el_GR" << QByteArray("windows-1253");
        QTest::newRow("tr_TR") << "tr_TR" << QByteArray("windows-1254");
        QTest::newRow("en_US") << "en_US" << QByteArray("windows-1252");
        QTest::newRow("de_DE") << "de_DE" << QByteArray("windows-1252");
    }
    void codePageForLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, name);
        QCOMPARE(AnsiCodePageFor(QLocale(locale)), name);
        // The converter must know the name, or the radio's texts would silently turn into 1252.
        QCOMPARE(AnsiCodePage::ForLocale(QLocale(locale)).Name(), name);
        // ... and the command line's --code-page must be able to give it by number.
        QCOMPARE(KnownCodePageName(CodePageNumber(name)), name);
    }

    // Each code page known by number converts as Windows' page of that number does.
    void knownCodePages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QList<std::tuple<int, const char*, const char*>> pages{
            {874, "ก", "a1"},    {932, "あ", "82a0"}, {936, "中", "d6d0"},  {949, "한", "c7d1"},
            {950, "中", "a4a4"}, {1250, "Ł", "a3"},   {1251, "Ж", "c6"},    {1252, "é€", "e980"},
            {1253, "Ω", "d9"},   {1254, "ş", "fe"},   {1255, "א", "e0"},    {1256, "ع", "da"},
            {1257, "ą", "e0"},   {1258, "₫", "fe"},   {65001, "é", "c3a9"},
        };
        for (const auto& [number, text, bytes] : pages)
            QTest::addRow("%d", number) << number << QString::fromUtf8(text) << QByteArray::fromHex(bytes);
    }
    void knownCodePages()
    {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QVERIFY(KnownCodePageNumbers().contains(number));
        const QByteArray name = KnownCodePageName(number);
        QVERIFY(IsUsableCodePage(name));
        QCOMPARE(CodePageNumber(name), number);
        const AnsiCodePage known(name);
        QCOMPARE(known.Name(), name);
        QCOMPARE(known.ToAnsi(text).toHex(), bytes.toHex());
        QCOMPARE(known.FromAnsi(bytes), text);
        QVERIFY(!known.FirstUnstorable(text));
    }

    void codePageNumbers_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("double-byte name") << QByteArray("GBK") << 936;
        QTest::newRow("other capitals") << QByteArray("shift_jis") << 932;
        QTest::newRow("windows- name") << QByteArray("windows-1251") << 1251;
        QTest::newRow("cp name") << QByteArray("cp1252") << 1252;
        QTest::newRow("Windows' name for a page unknown here") << QByteArray("windows-1361") << 1361;
        QTest::newRow("UTF-8") << QByteArray("utf-8") << 65001;
        QTest::newRow("no number") << QByteArray("ISO-8859-1") << 0;
        QTest::newRow("beyond a code page") << QByteArray("windows-70000") << 0;
    }
    void codePageNumbers()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, number);
        QCOMPARE(CodePageNumber(name), number);
    }

    // The first character that a text field cannot hold: one the page lacks, or one whose bytes
    // include 0x00 or 0xFF, which end a text in the radio's block.
    void firstUnstorable_data()
    {
        QTest::addColumn<QByteArray>("pageName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character"); // empty: none
        QTest::newRow("all in the page")
            << QByteArray("windows-1252") << QStringLiteral("Café, 7") << QString();
        QTest::newRow("Chinese in 1252") << QByteArray("windows-1252") << QStringLiteral("Li 李伟") << "李";
        QTest::newRow("Chinese in GBK") << QByteArray("GBK") << QStringLiteral("Li 李伟") << QString();
        QTest::newRow("Thai in GBK") << QByteArray("GBK") << QStringLiteral("中ก") << "ก";
        QTest::newRow("Latin in 1251") << QByteArray("windows-1251") << QStringLiteral("Иван é") << "é";
        QTest::newRow("ÿ is 0xFF in 1252") << QByteArray("windows-1252") << QStringLiteral("Ÿ ÿ") << "ÿ";
        QTest::newRow("a pair of surrogates as one")
            << QByteArray("windows-1252") << QStringLiteral("a\U0001F600b") << QStringLiteral("\U0001F600");
        QTest::newRow("empty") << QByteArray("GBK") << QString() << QString();
    }
    void firstUnstorable()
    {
        QFETCH(QByteArray, pageName);
        QFETCH(QString, text);
        QFETCH(QString, character);
        QCOMPARE(AnsiCodePage(pageName).FirstUnstorable(text).value_or(QString()), character);
    }

    void unknownCodePageFallsBack()
    {
        const AnsiCodePage unknown("no-such-page");
        QCOMPARE(unknown.Name(), QByteArray("windows-1252"));
        QCOMPARE(unknown.ToAnsi(QStringLiteral("é")), QByteArray("\xE9"));
    }
};

QTEST_GUILESS_MAIN(TestModData)
#include "tst_moddata.moc"
