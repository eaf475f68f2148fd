// One test program run as several CTest tests, so that parallel jobs share its slow functions. The
// program's main lists groups of functions; TT_TEST_PART=N runs the N-th group (from 1), =others every
// function in no group (so a function added later is never left out), and without it all of them.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QMetaMethod>
#include <QStringList>
#include <QTest>

#include <cstdio>
#include <cstdlib>

inline QStringList TestPartArguments(const QObject& test, const QList<QStringList>& groups)
{
    QStringList arguments = QCoreApplication::arguments();
    const QByteArray part = qgetenv("TT_TEST_PART");
    if (part.isEmpty())
        return arguments;
    bool numbered = false;
    const int number = part.toInt(&numbered);
    if (part != "others" && (!numbered || number < 1 || number > groups.size())) {
        std::fprintf(stderr, "TT_TEST_PART is a group's number from 1 to %d or \"others\", not \"%s\"\n",
                     int(groups.size()), part.constData());
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
    QStringList listed;
    for (const QStringList& group : groups) {
        for (const QString& name : group) {
            if (!functions.contains(name)) {
                std::fprintf(stderr, "no test function %s\n", qPrintable(name));
                std::exit(2);
            }
        }
        listed << group;
    }
    if (numbered)
        return arguments << groups[number - 1];
    for (const QString& name : functions) {
        if (!listed.contains(name))
            arguments << name;
    }
    return arguments;
}

#define TT_QTEST_MAIN_IN_PARTS_WRAPPER(TestObject, Setup, ...)                                               \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        Setup TestObject tc;                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, TestPartArguments(tc, QList<QStringList>{__VA_ARGS__}));                    \
    }

// QTEST_MAIN and QTEST_GUILESS_MAIN, with groups of functions run as parts: braced lists of names.
#define TT_QTEST_MAIN_IN_PARTS(TestObject, ...)                                                              \
    TT_QTEST_MAIN_IN_PARTS_WRAPPER(TestObject, QTEST_MAIN_SETUP(), __VA_ARGS__)
#define TT_QTEST_GUILESS_MAIN_IN_PARTS(TestObject, ...)                                                      \
    TT_QTEST_MAIN_IN_PARTS_WRAPPER(TestObject, QTEST_QAPP_SETUP(QCoreApplication), __VA_ARGS__)
