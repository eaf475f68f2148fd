// tt_other_language FILE en|zh [ALLOWED ...]: prints each run of words of the other language in FILE
// (UTF-8) and exits 1 when there is one, for the tests that read what a program printed from a shell
// (the Windows programs under Wine).
#include "OtherLanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3 || (arguments[2] != u"en" && arguments[2] != u"zh")) {
        QTextStream(stderr) << "usage: tt_other_language FILE en|zh [ALLOWED ...]\n";
        return 2;
    }
    QFile file(arguments[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << arguments[1] << ": " << file.errorString() << '\n';
        return 2;
    }
    const int language = arguments[2] == u"zh" ? 2 : 1;
    const QStringList allowed = arguments.mid(3);
    int found = 0;
    QTextStream out(stdout);
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        for (const QString& words : OtherLanguage::Foreign(line, language, allowed)) {
            out << arguments[1] << ": \"" << words << "\" in: " << line.trimmed() << '\n';
            ++found;
        }
    }
    return found == 0 ? 0 : 1;
}
