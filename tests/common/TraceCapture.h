// The link's trace captured while a TraceCapture lives, with the trace switched on.
#pragma once

#include "link/LinkTrace.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QStringList>

class TraceCapture
{
public:
    TraceCapture()
    {
        Target() = &lines;
        previous = qInstallMessageHandler(Capture);
        QLoggingCategory::setFilterRules(QStringLiteral("tangelo.link.debug=true"));
    }
    ~TraceCapture()
    {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        Target() = nullptr;
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    QStringList lines;
    QString All() const { return lines.join(u'\n'); }
    bool Contains(const QString& text) const { return All().contains(text); }

private:
    // A message handler is a plain function, so the lines it fills are found through this.
    static QStringList*& Target()
    {
        static QStringList* target = nullptr;
        return target;
    }
    static void Capture(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (Target() && QByteArray(context.category) == LinkTraceCategory)
            Target()->append(message);
    }
    QtMessageHandler previous = nullptr;
};
