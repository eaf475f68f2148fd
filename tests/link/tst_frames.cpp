// The wire protocol's frames and reply shapes, the identity reply and the model check.
#include "data/ModData.h"
#include "link/Frames.h"
#include "link/ModelCheck.h"
#include "WireBytes.h"

#include <QTest>

#include <algorithm>
#include <array>

namespace {
QByteArray BlockReply(uint8_t block, uint8_t fill, int checksumOffset = 0)
{
    return BlockFrame(block, QByteArray(32, char(fill)), checksumOffset);
}

QByteArray IdentReply(const QByteArray& identityBytes, uint8_t band, uint8_t last = 0x06)
{
    QByteArray reply(16, char(0xFF));
    reply[0] = 'I';
    std::copy(identityBytes.begin(), identityBytes.end(), reply.begin() + 1);
    reply[8] = char(band);
    reply[15] = char(last);
    return reply;
}
} // namespace

class TestFrames : public QObject
{
    Q_OBJECT
private slots:
    // Frames the program sends, byte for byte.
    void frames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("expected");
        std::array<uint8_t, 32> zeros{};
        std::array<uint8_t, 32> ones{};
        ones.fill(0xFF);
        QTest::newRow("read request, address 96") << Proto::BuildReadRequest(96 / 32) << Hex("5208002003");
        QTest::newRow("block 0 of zeros: checksum 0x7F")
            << Proto::BuildBlockFrame(0, zeros) << Hex("5708002000") + QByteArray(32, '\0') + Hex("7F");
        QTest::newRow("block 1 of 0xFF: sum 0x2060, checksum 0x60")
            << Proto::BuildBlockFrame(1, ones) << Hex("5708002001") + QByteArray(32, '\xFF') + Hex("60");
        QTest::newRow("program command") << Proto::ProgramCommand.toByteArray() << Hex("50524F4752414D");
        QTest::newRow("end command") << Proto::EndCommand.toByteArray() << Hex("454E44");
    }
    void frames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, expected);
        QCOMPARE(frame.toHex(' '), expected.toHex(' '));
    }

    void checksumOfARange()
    {
        QByteArray frame = Hex("0102030405FF");
        SetChecksum(frame, 1, 3, 5); // 2 + 3 + 4
        QCOMPARE(uint8_t(frame[5]), uint8_t(0x09));
        QVERIFY(VerifyChecksum(frame, 1, 3, 5));
        QVERIFY(!VerifyChecksum(frame, 0, 3, 5));
    }

    // Which arrays of one receive event each reply test accepts.
    void replyShapes_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("ack");
        QTest::addColumn<bool>("nak");
        QTest::addColumn<bool>("block");
        QTest::newRow("acknowledgement") << Hex("06") << true << false << false;
        QTest::newRow("negative reply") << Hex("0A") << false << true << false;
        QTest::newRow("0x15 is nothing") << Hex("15") << false << false << false;
        QTest::newRow("two acknowledgements") << Hex("0606") << false << false << false;
        QTest::newRow("nothing") << QByteArray() << false << false << false;
        QTest::newRow("block reply") << BlockReply(3, 0x00) << false << false << true;
        QTest::newRow("block reply of 0xFF") << BlockReply(7, 0xFF) << false << false << true;
        QTest::newRow("checksum one high") << BlockReply(3, 0x41, +1) << false << false << false;
        QTest::newRow("checksum one low") << BlockReply(3, 0x41, -1) << false << false << false;
        QTest::newRow("stray byte after it") << BlockReply(3, 0x41) + Hex("00") << false << false << false;
        QTest::newRow("last byte missing") << BlockReply(3, 0x41).chopped(1) << false << false << false;
        QByteArray readHead = BlockReply(3, 0x41);
        readHead[0] = 0x52;
        QTest::newRow("opens with R") << readHead << false << false << false;
        QByteArray wrongLength = BlockReply(3, 0x41);
        wrongLength[3] = 0x21;
        QTest::newRow("length byte wrong") << wrongLength << false << false << false;
        QTest::newRow("block number 8") << BlockReply(8, 0x41) << false << false << false;
        QTest::newRow("block number 255") << BlockReply(255, 0x41) << false << false << false;
    }
    void replyShapes()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, ack);
        QFETCH(bool, nak);
        QFETCH(bool, block);
        QCOMPARE(IsAck(reply), ack);
        QCOMPARE(IsNegativeReply(reply), nak);
        QCOMPARE(IsBlockReply(reply), block);
    }

    // A block goes where its number says; a number of 8 or more never writes past the image.
    void storeBlock_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("storedFrom"); // -1: nothing stored
        QTest::newRow("block 5") << 5 << 160;
        QTest::newRow("block 8") << 8 << -1;
        QTest::newRow("block 255") << 255 << -1;
    }
    void storeBlock()
    {
        QFETCH(int, block);
        QFETCH(int, storedFrom);
        const InfoImageType image = StoreBlock(InfoImageType{}, BlockReply(uint8_t(block), 0xA5));
        for (int i = 0; i < Layout::ImageSize; ++i)
            QCOMPARE(image[size_t(i)],
                     uint8_t(storedFrom >= 0 && i >= storedFrom && i < storedFrom + 32 ? 0xA5 : 0));
    }

    void parseIdentReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("identity");
        QTest::addColumn<int>("band");
        QTest::newRow("RZ614UV then 0xFF") << IdentReply("RZ614UV", 4) << true << "TANGELOUV" << 4;
        QTest::newRow("RZ614U_") << IdentReply("RZ614U_", 0) << true << "TANGELOSU" << 0;
        QTest::newRow("RZ614_V") << IdentReply("RZ614_V", 18) << true << "TANGELOSV" << 18;
        QTest::newRow("RZ614_U stays") << IdentReply("RZ614_U", 1) << true << "RZ614_U" << 1;
        QTest::newRow("RZ614 then 0x00") << IdentReply(QByteArray("RZ614\0V", 7), 2) << true << "RZ614" << 2;
        QTest::newRow("lower case") << IdentReply("rz614uv", 2) << true << "rz614uv" << 2;
        QTest::newRow("band byte 255") << IdentReply("RZ614UV", 255) << true << "TANGELOUV" << 255;
        QTest::newRow("last byte not 0x06") << IdentReply("RZ614UV", 4, 0x07) << false << "" << 0;
        QTest::newRow("15 bytes") << IdentReply("RZ614UV", 4).chopped(1) << false << "" << 0;
        QTest::newRow("17 bytes") << IdentReply("RZ614UV", 4) + Hex("06") << false << "" << 0;
        QByteArray wrongHead = IdentReply("RZ614UV", 4);
        wrongHead[0] = 'J';
        QTest::newRow("head not I") << wrongHead << false << "" << 0;
    }
    void parseIdentReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, accepted);
        QFETCH(QString, identity);
        QFETCH(int, band);
        const std::optional<IdentContent> parsed = ParseIdentReply(reply);
        QCOMPARE(parsed.has_value(), accepted);
        QCOMPARE(parsed.value_or(IdentContent{}).RadioIdentity, identity);
        QCOMPARE(parsed.value_or(IdentContent{}).BandIndex, int16_t(band));
    }

    // The identity table, both mappings.
    void typeNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("protocolName");
        QTest::addColumn<QString>("displayName");
        const auto row = [](const char* name, const QString& text, const char* protocol,
                            const char* display) {
            QTest::newRow(name) << text << QString(protocol) << QString(display);
        };
        row("RZ614UV", "RZ614UV", "TANGELOUV", "TANGELOUV");
        row("RZ614U_", "RZ614U_", "TANGELOSU", "RZ614U_");
        row("RZ614_V", "RZ614_V", "TANGELOSV", "TANGELOSV");
        row("RZ614_U", "RZ614_U", "RZ614_U", "TANGELOSU");
        row("unknown", "XYZ", "XYZ", "XYZ");
        row("type names pass", "TANGELOSU", "TANGELOSU", "TANGELOSU");
        row("trailing spaces go", "RZ614UV  ", "TANGELOUV", "TANGELOUV");
        row("cut at NUL", QString::fromUtf16(u"RZ614_V\0xx", 10), "TANGELOSV", "TANGELOSV");
        row("case counts", "rz614uv", "rz614uv", "rz614uv");
        row("leading space counts", " RZ614UV", " RZ614UV", " RZ614UV");
    }
    void typeNames()
    {
        QFETCH(QString, text);
        QFETCH(QString, protocolName);
        QFETCH(QString, displayName);
        QCOMPARE(ToRadioTypeName(text), protocolName);
        QCOMPARE(ToDisplayTypeName(text), displayName);
    }

    void knownAndSameType_data()
    {
        QTest::addColumn<QString>("windowType");
        QTest::addColumn<QString>("radioType");
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("same");
        const auto row = [](const char* name, const char* window, const char* radio, bool known, bool same) {
            QTest::newRow(name) << QString(window) << QString(radio) << known << same;
        };
        row("same by identity", "TANGELOSU", "RZ614U_", true, true);
        row("window type ignored for known", "nonsense", "TANGELOSV", true, false);
        row("RZ614_U is not known", "TANGELOSU", "RZ614_U", false, false);
        row("different types", "TANGELOSV", "TANGELOUV", true, false);
        row("unknown but equal", "RZ614", "RZ614", false, true);
    }
    void knownAndSameType()
    {
        QFETCH(QString, windowType);
        QFETCH(QString, radioType);
        QFETCH(bool, known);
        QFETCH(bool, same);
        QCOMPARE(IsKnownRadioType(windowType, radioType), known);
        QCOMPARE(IsSameRadioType(windowType, radioType), same);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
