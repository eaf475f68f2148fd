#include "link/Sentences.h"

#include <QCoreApplication>

namespace {

class Sentences
{
    Q_DECLARE_TR_FUNCTIONS(Sentences)
};

} // namespace

QString Then(const QString& first, const QString& second)
{
    if (second.isEmpty())
        return first;
    if (first.isEmpty())
        return second;
    return Sentences::tr("%1 %2", "one sentence followed by another").arg(first, second);
}
