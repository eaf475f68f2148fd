// One test program run as two CTest tests, so that two jobs share its slow functions. With
// TT_TEST_PART=listed it runs only the functions listed in its main, with TT_TEST_PART=others every
// other one (so a function added later is never left out), and without it all of them.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QMetaMethod>
#include <QStringList>
#include <QTest>

#include <cstdio>
#include <cstdlib>

inline QStringList TestPartArguments(const QObject& test, const QStringList& listed)
{
    QStringList arguments = QCoreApplication::arguments();
    const QByteArray part = qgetenv("TT_TEST_PART");
    if (part.isEmpty())
        return arguments;
    if (part != "listed" && part != "others") {
        std::fprintf(stderr, "TT_TEST_PART is \"listed\" or \"others\", not \"%s\"\n", part.constData());
        std::exit(2);
    }
    static const QStringList fixtures{"initTestCase", "initTestCase_data", "cleanupTestCase", "init",
                                      "cleanup"};
    QStringList functions;
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QString name = QString::fromLatin1(method.name());
        if (method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Private &&
            method.parameterCount() == 0 && !name.endsWith(QStringLiteral("_data")) &&
            !fixtures.contains(name))
            functions << name;
    }
    // A listed name that is no function (renamed, say) would quietly run nowhere.
    for (const QString& name : listed) {
        if (!functions.contains(name)) {
            std::fprintf(stderr, "no test function %s\n", qPrintable(name));
            std::exit(2);
        }
    }
    for (const QString& name : functions) {
        if (listed.contains(name) == (part == "listed"))
            arguments << name;
    }
    return arguments;
}

// QTEST_GUILESS_MAIN, with the functions of the "listed" part.
#define TT_QTEST_GUILESS_MAIN_IN_PARTS(TestObject, ...)                                                      \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        QCoreApplication app(argc, argv);                                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        return QTest::qExec(&tc, TestPartArguments(tc, QStringList{__VA_ARGS__}));                           \
    }
