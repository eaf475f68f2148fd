// The application's style that keeps its standard icons: the icons look as the wrapped style draws
// them, and those of the message boxes are ready once the window has been painted.
#include "window/KeptIconStyle.h"

#include <QApplication>
#include <QImage>
#include <QStyleFactory>
#include <QTest>
#include <QWidget>

#include <memory>

class TestKeptStyle : public QObject
{
    Q_OBJECT
private slots:
    void iconAsWrappedStyle_data()
    {
        QTest::addColumn<int>("pixmap");
        QTest::newRow("OK button") << int(QStyle::SP_DialogOkButton);
        QTest::newRow("Cancel button") << int(QStyle::SP_DialogCancelButton);
        QTest::newRow("warning") << int(QStyle::SP_MessageBoxWarning);
        QTest::newRow("critical") << int(QStyle::SP_MessageBoxCritical);
        QTest::newRow("an arrow, not a box's") << int(QStyle::SP_ArrowBack);
    }
    // The same picture as the wrapped style's, the first time and when kept.
    void iconAsWrappedStyle()
    {
        QFETCH(int, pixmap);
        const auto which = QStyle::StandardPixmap(pixmap);
        const std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("fusion")));
        KeptIconStyle kept(QStringLiteral("fusion"));
        const QImage expected = plain->standardIcon(which).pixmap(32).toImage();
        const QIcon first = kept.standardIcon(which);
        QVERIFY(kept.Keeps(which));
        QCOMPARE(first.pixmap(32).toImage(), expected);
        QCOMPARE(kept.standardIcon(which).cacheKey(), first.cacheKey());
    }

    // Made after the window's first paint, not before: its start does not wait for them.
    void boxIconsReadyAfterFirstPaint()
    {
        KeptIconStyle style(QStringLiteral("fusion"));
        QWidget window;
        window.resize(200, 100);
        style.PrepareMessageBoxIcons(&window);
        QVERIFY(!style.Keeps(QStyle::SP_DialogOkButton));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto icon : {QStyle::SP_DialogOkButton, QStyle::SP_DialogCancelButton,
                                QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical})
            QTRY_VERIFY(style.Keeps(icon));
    }
};

QTEST_MAIN(TestKeptStyle)
#include "tst_keptstyle.moc"
