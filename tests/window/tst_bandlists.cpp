// The radio-type list, the band list of the chosen type and the hidden band table, kept in step.
#include "data/BandTable.h"
#include "IsolatedProgram.h"
#include "WindowFixture.h"

#include <QSignalSpy>

namespace {

// The band indexes each radio type offers, in list order.
const QList<QList<int>> ExpectedBandLists{
    {0, 1, 2, 3, 4, 5, 6, 7, 15, 16, 17},
    {8, 9, 10, 11, 15, 16, 17},
    {12, 13, 14, 15, 18},
};

QString BandText(int index)
{
    return QString::fromLatin1(BandTable[size_t(index)].data(), qsizetype(BandTable[size_t(index)].size()));
}

enum class Via { User, Program };

void Choose(Via via, DropDownList* list, int position)
{
    if (via == Via::User)
        UserChooses(list, position);
    else
        list->SelectListEntry(position);
}

} // namespace

Q_DECLARE_METATYPE(Via)

class TestBandLists : public QObject
{
    Q_OBJECT
    IsolatedProgram isolated;
    std::unique_ptr<FrmMain> frm;

private slots:
    void init() { StartFrmMain(frm, isolated.Settings()); }
    void cleanup() { frm.reset(); }

    void startUp()
    {
        QCOMPARE(Entries(frm->Combo1[0]), QStringList({"TANGELOUV", "TANGELOSU", "TANGELOSV"}));
        QCOMPARE(frm->Combo1[0]->currentIndex(), 0);
        QCOMPARE(frm->Combo1[1]->count(), 11);
        QCOMPARE(frm->Combo1[1]->currentText(), "UHF(400 - 490 MHz) VHF(136 - 174 MHz)");
        QCOMPARE(frm->Combo3->count(), BandCount);
        for (int i = 0; i < BandCount; ++i)
            QCOMPARE(frm->Combo3->itemText(i), BandText(i));
        QCOMPARE(frm->Combo3->currentIndex(), 0);
        QVERIFY(frm->Combo3->isHidden());
    }

    void radioTypeChoice_data()
    {
        QTest::addColumn<Via>("via");
        QTest::addColumn<int>("radioType");
        QTest::addColumn<QString>("firstEntry");
        QTest::addColumn<int>("firstBandIndex");
        for (Via via : {Via::User, Via::Program}) {
            const char* how = via == Via::User ? "user" : "program";
            QTest::addRow("TANGELOUV, %s", how) << via << 0 << "UHF(400 - 490 MHz) VHF(136 - 174 MHz)" << 0;
            QTest::addRow("TANGELOSU, %s", how) << via << 1 << "UHF(400 - 490 MHz) VHF(400 - 490 MHz)" << 8;
            QTest::addRow("TANGELOSV, %s", how) << via << 2 << "UHF(136 - 174 MHz) VHF(136 - 174 MHz)" << 12;
        }
    }
    void radioTypeChoice()
    {
        QFETCH(Via, via);
        QFETCH(int, radioType);
        QFETCH(QString, firstEntry);
        QFETCH(int, firstBandIndex);
        frm->RadioInfo.BandIndex = 5;
        // Start from another type, so that the choice is a change.
        frm->Combo1[0]->SelectListEntry((radioType + 1) % 3);

        Choose(via, frm->Combo1[0], radioType);

        QStringList expected;
        for (int index : ExpectedBandLists[radioType])
            expected << BandText(index);
        QCOMPARE(Entries(frm->Combo1[1]), expected);
        QCOMPARE(frm->Combo1[1]->currentIndex(), 0);
        QCOMPARE(frm->Combo1[1]->currentText(), firstEntry);
        QCOMPARE(frm->Combo3->currentIndex(), firstBandIndex);
        QCOMPARE(frm->RadioInfo.BandIndex, 5); // the record is not touched
    }

    void bandChoice_data()
    {
        QTest::addColumn<Via>("via");
        QTest::addColumn<int>("radioType");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("bandIndex");
        for (Via via : {Via::User, Via::Program}) {
            const char* how = via == Via::User ? "user" : "program";
            QTest::addRow("European version PMR from TANGELOUV, %s", how) << via << 0 << 8 << 15;
            QTest::addRow("European version PMR from TANGELOSU, %s", how) << via << 1 << 4 << 15;
            QTest::addRow("European version PMR from TANGELOSV, %s", how) << via << 2 << 3 << 15;
            QTest::addRow("last of TANGELOUV, %s", how) << via << 0 << 10 << 17;
            QTest::addRow("last of TANGELOSU, %s", how) << via << 1 << 6 << 17;
            QTest::addRow("66 - 88 MHz of TANGELOSV, %s", how) << via << 2 << 4 << 18;
            QTest::addRow("eighth of TANGELOUV, %s", how) << via << 0 << 7 << 7;
            QTest::addRow("fourth of TANGELOSU, %s", how) << via << 1 << 3 << 11;
            QTest::addRow("second of TANGELOSV, %s", how) << via << 2 << 1 << 13;
        }
    }
    void bandChoice()
    {
        QFETCH(Via, via);
        QFETCH(int, radioType);
        QFETCH(int, position);
        QFETCH(int, bandIndex);
        frm->RadioInfo.BandIndex = 3;
        frm->Combo1[0]->SelectListEntry(radioType);

        Choose(via, frm->Combo1[1], position);

        QCOMPARE(frm->Combo1[1]->currentIndex(), position);
        QCOMPARE(frm->Combo3->currentIndex(), bandIndex);
        QCOMPARE(frm->Combo3->currentText(), frm->Combo1[1]->currentText());
        QCOMPARE(frm->RadioInfo.BandIndex, 3);
    }

    // Qt stays silent when the selected entry is chosen again; the window must not. The hidden
    // list is put out of step first (as the Cancel answer of the band question leaves it), so only
    // a handler that ran brings it back.
    void rechoosingTheSelectedBand_data()
    {
        QTest::addColumn<Via>("via");
        QTest::newRow("user") << Via::User;
        QTest::newRow("program") << Via::Program;
    }
    void rechoosingTheSelectedBand()
    {
        QFETCH(Via, via);
        frm->Combo1[0]->SelectListEntry(1);
        frm->Combo1[1]->SelectListEntry(2);
        QCOMPARE(frm->Combo3->currentIndex(), 10);

        QSignalSpy clicks(frm->Combo1[1], &DropDownList::Click);
        Choose(via, frm->Combo1[1], 2);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(frm->Combo3->currentIndex(), 10); // unchanged

        frm->Combo3->setCurrentIndex(3);
        Choose(via, frm->Combo1[1], 2);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(frm->Combo1[1]->currentIndex(), 2);
        QCOMPARE(frm->Combo3->currentIndex(), 10);
    }

    // The band chosen before is not remembered: coming back to a type selects its first band.
    void typeThenAnotherThenBack_data()
    {
        QTest::addColumn<Via>("via");
        QTest::addColumn<int>("typeA");
        QTest::addColumn<int>("bandOfA");
        QTest::addColumn<int>("typeB");
        QTest::addColumn<int>("firstIndexOfA");
        for (Via via : {Via::User, Via::Program}) {
            const char* how = via == Via::User ? "user" : "program";
            QTest::addRow("UV, SU, UV, %s", how) << via << 0 << 5 << 1 << 0;
            QTest::addRow("SU, SV, SU, %s", how) << via << 1 << 3 << 2 << 8;
            QTest::addRow("SV, UV, SV, %s", how) << via << 2 << 4 << 0 << 12;
            QTest::addRow("UV, UV again, %s", how) << via << 0 << 9 << 0 << 0;
            QTest::addRow("SV, SV again, %s", how) << via << 2 << 2 << 2 << 12;
        }
    }
    void typeThenAnotherThenBack()
    {
        QFETCH(Via, via);
        QFETCH(int, typeA);
        QFETCH(int, bandOfA);
        QFETCH(int, typeB);
        QFETCH(int, firstIndexOfA);

        Choose(via, frm->Combo1[0], typeA);
        Choose(via, frm->Combo1[1], bandOfA);
        QCOMPARE(frm->Combo3->currentIndex(), ExpectedBandLists[typeA][bandOfA]);
        Choose(via, frm->Combo1[0], typeB);
        QCOMPARE(frm->Combo1[1]->count(), ExpectedBandLists[typeB].size());
        Choose(via, frm->Combo1[0], typeA);

        QCOMPARE(frm->Combo1[0]->currentIndex(), typeA);
        QCOMPARE(frm->Combo1[1]->count(), ExpectedBandLists[typeA].size());
        QCOMPARE(frm->Combo1[1]->currentIndex(), 0);
        QCOMPARE(frm->Combo3->currentIndex(), firstIndexOfA);
    }

    void fillBandList_data()
    {
        QTest::addColumn<int>("radioType");
        QTest::addColumn<int>("count");
        QTest::newRow("TANGELOUV") << 0 << 11;
        QTest::newRow("TANGELOSU") << 1 << 7;
        QTest::newRow("TANGELOSV") << 2 << 5;
        QTest::newRow("below the types") << -1 << 0;
        QTest::newRow("above the types") << 3 << 0;
    }
    void fillBandList()
    {
        QFETCH(int, radioType);
        QFETCH(int, count);
        frm->Combo3->SelectListEntry(6);
        QSignalSpy clicks(frm->Combo1[1], &DropDownList::Click);

        frm->FillBandList(static_cast<int16_t>(radioType));

        QCOMPARE(frm->Combo1[1]->count(), count);
        QCOMPARE(frm->Combo1[1]->currentIndex(), -1); // nothing selected, no band choice run
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(frm->Combo3->currentIndex(), 6);
    }

    // Selecting by text takes the whole text with the same capitals; anything else changes nothing.
    void selectListText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selected");
        QTest::newRow("exact") << "US GMRS" << 16;
        QTest::newRow("other capitals") << "us gmrs" << 4;
        QTest::newRow("trailing space") << "US GMRS " << 4;
        QTest::newRow("part of an entry") << "US" << 4;
        QTest::newRow("empty") << "" << 4;
    }
    void selectListText()
    {
        QFETCH(QString, text);
        QFETCH(int, selected);
        frm->Combo3->SelectListEntry(4);
        QSignalSpy clicks(frm->Combo3, &DropDownList::Click);

        const bool found = frm->Combo3->SelectListText(text);

        QCOMPARE(found, selected != 4);
        QCOMPARE(clicks.count(), found ? 1 : 0);
        QCOMPARE(frm->Combo3->currentIndex(), selected);
    }
};

QTEST_MAIN(TestBandLists)
#include "tst_bandlists.moc"
