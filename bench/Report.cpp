#include "Report.h"

#include <QJsonArray>

#include <algorithm>

namespace {

struct KindFigures
{
    int runs = 0;
    int irregular = 0;
    double medianMs = 0;
    double p95Ms = 0;
    double floorMs = 0;
    double ratio = 0;
    double programMedianUs = 0;
    double programP95Us = 0;
    double startUs = 0;
    double finishUs = 0;
    double exchangesMs = 0;
};

KindFigures Summarise(const QList<SessionTiming>& timings)
{
    KindFigures f;
    QList<double> totals, floors, program, starts, finishes, exchanges;
    for (const SessionTiming& t : timings) {
        totals << t.totalMs;
        floors << t.wireFloorMs;
        if (!t.regular) {
            ++f.irregular;
            continue;
        }
        program << t.programUs;
        starts << t.startUs;
        finishes << t.finishUs;
        exchanges << t.exchangesMs;
    }
    f.runs = int(timings.size());
    f.medianMs = Median(totals);
    f.p95Ms = Percentile(totals, 0.95);
    f.floorMs = Median(floors);
    f.ratio = f.floorMs > 0 ? f.medianMs / f.floorMs : 0;
    f.programMedianUs = Median(program);
    f.programP95Us = Percentile(program, 0.95);
    f.startUs = Median(starts);
    f.finishUs = Median(finishes);
    f.exchangesMs = Median(exchanges);
    return f;
}

QString Num(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

QJsonObject Json(const KindFigures& f)
{
    return {{"runs", f.runs},
            {"irregular", f.irregular},
            {"median_ms", f.medianMs},
            {"p95_ms", f.p95Ms},
            {"wire_floor_ms", f.floorMs},
            {"ratio", f.ratio},
            {"program_us_per_exchange_median", f.programMedianUs},
            {"program_us_per_exchange_p95", f.programP95Us},
            {"press_to_first_byte_us", f.startUs},
            {"last_byte_to_closing_us", f.finishUs},
            {"first_byte_to_last_byte_ms", f.exchangesMs}};
}

QString Row(const QString& name, const KindFigures& f)
{
    return QStringLiteral("| %1 (%2) | %3 | %4 | %5 | %6 | %7 | %8 |\n")
        .arg(name)
        .arg(f.runs)
        .arg(Num(f.medianMs), Num(f.p95Ms), Num(f.floorMs), Num(f.ratio, 3), Num(f.programMedianUs, 0),
             Num(f.programP95Us, 0));
}

QString Ms(const std::optional<double>& value)
{
    return value ? Num(*value, 0) + QStringLiteral(" ms") : QStringLiteral("-");
}

// Where a read in the window spends its time: each step from the one before it that was seen.
struct ClickSegment
{
    int from = -1; // -1: the click
    int to = 0;
    std::optional<double> firstMs; // the first click
    QList<double> laterMs;         // the others
};

QList<ClickSegment> ClickSegments(const QList<ReadClick>& clicks)
{
    QList<ClickSegment> segments;
    for (qsizetype i = 0; i < clicks.size(); ++i) {
        int from = -1;
        double fromMs = 0;
        for (int to = 0; to < ReadClick::PointCount; ++to) {
            const auto at = clicks[i].at[size_t(to)];
            if (!at)
                continue;
            auto segment = std::find_if(segments.begin(), segments.end(),
                                        [&](const ClickSegment& s) { return s.from == from && s.to == to; });
            if (segment == segments.end()) {
                // In the order of the steps, whichever click saw it first.
                segment = std::find_if(segments.begin(), segments.end(),
                                       [&](const ClickSegment& s) { return s.to > to; });
                segment = segments.insert(segment, ClickSegment{from, to, {}, {}});
            }
            if (i == 0)
                segment->firstMs = *at - fromMs;
            else
                segment->laterMs << *at - fromMs;
            from = to;
            fromMs = *at;
        }
    }
    return segments;
}

QString From(int point)
{
    return point < 0 ? QStringLiteral("click") : QString::fromLatin1(ReadClick::PointText(point));
}

QList<double> LaterClicksMs(const QList<ReadClick>& clicks)
{
    QList<double> ms;
    for (qsizetype i = 1; i < clicks.size(); ++i)
        ms << clicks[i].ClickToBoxMs();
    return ms;
}

QString ClickTable(const QList<ReadClick>& clicks)
{
    const ReadClick& first = clicks.first();
    const QList<double> later = LaterClicksMs(clicks);
    const double floor = first.wireFloorMs;
    QString out =
        QStringLiteral("\nA read in the window, the click to its message box mapped: the first "
                       "click %1 ms (%2 of the wire floor %3 ms)")
            .arg(Num(first.ClickToBoxMs()), Num(floor > 0 ? first.ClickToBoxMs() / floor : 0, 3), Num(floor));
    if (!later.isEmpty())
        out += QStringLiteral(", the %1 clicks after it %2 ms median (%3)")
                   .arg(later.size())
                   .arg(Num(Median(later)), Num(floor > 0 ? Median(later) / floor : 0, 3));
    out += QStringLiteral(".\n\n| from | to | first click ms | later clicks, median ms (runs) |\n"
                          "|---|---|---|---|\n");
    for (const ClickSegment& s : ClickSegments(clicks)) {
        out += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                   .arg(From(s.from), From(s.to), s.firstMs ? Num(*s.firstMs) : QStringLiteral("-"),
                        s.laterMs.isEmpty()
                            ? QStringLiteral("-")
                            : QStringLiteral("%1 (%2)").arg(Num(Median(s.laterMs))).arg(s.laterMs.size()));
    }
    return out;
}

QJsonObject ClickJson(const QList<ReadClick>& clicks)
{
    QJsonArray each;
    for (const ReadClick& click : clicks) {
        QJsonObject points;
        for (int p = 0; p < ReadClick::PointCount; ++p) {
            if (const auto at = click.at[size_t(p)])
                points[QLatin1String(ReadClick::PointName(p))] = *at;
        }
        each.append(QJsonObject{{"click_to_box_mapped_ms", click.ClickToBoxMs()},
                                {"wire_floor_ms", click.wireFloorMs},
                                {"ms_from_click", points}});
    }
    QJsonArray segments;
    for (const ClickSegment& s : ClickSegments(clicks)) {
        QJsonObject o{
            {"from", s.from < 0 ? QStringLiteral("click") : QLatin1String(ReadClick::PointName(s.from))},
            {"to", QLatin1String(ReadClick::PointName(s.to))}};
        if (s.firstMs)
            o["first_click_ms"] = *s.firstMs;
        if (!s.laterMs.isEmpty())
            o["later_clicks_median_ms"] = Median(s.laterMs);
        segments.append(o);
    }
    const ReadClick& first = clicks.first();
    const double floor = first.wireFloorMs;
    QJsonObject o{{"clicks", each},
                  {"segments", segments},
                  {"wire_floor_ms", floor},
                  {"first_click_ms", first.ClickToBoxMs()}};
    if (floor > 0)
        o["first_click_ratio"] = first.ClickToBoxMs() / floor;
    if (const QList<double> later = LaterClicksMs(clicks); !later.isEmpty()) {
        o["later_clicks_median_ms"] = Median(later);
        if (floor > 0)
            o["later_clicks_ratio"] = Median(later) / floor;
    }
    return o;
}

} // namespace

QString MarkdownReport(const BenchFigures& figures)
{
    QString out = QStringLiteral("Machine: %1\n\n").arg(figures.machine);
    if (figures.sessions) {
        const SessionRuns& s = *figures.sessions;
        if (!s.error.isEmpty())
            return out + s.error + u'\n';
        const KindFigures read = Summarise(s.reads);
        const KindFigures write = Summarise(s.writes);
        out += QStringLiteral("| session (runs) | median ms | p95 ms | wire floor ms | median / floor | "
                              "program us per exchange, median | p95 |\n"
                              "|---|---|---|---|---|---|---|\n");
        out += Row(QStringLiteral("read"), read) + Row(QStringLiteral("write"), write);
        out +=
            QStringLiteral("\nMedians: the press to the first byte at the radio, read %1 us, write %2 us; "
                           "the last reply byte to the closing message, read %3 us, write %4 us; the first "
                           "byte to the last, read %5 ms (%6 of the floor), write %7 ms (%8).\n")
                .arg(Num(read.startUs, 0), Num(write.startUs, 0), Num(read.finishUs, 0),
                     Num(write.finishUs, 0), Num(read.exchangesMs),
                     Num(read.floorMs > 0 ? read.exchangesMs / read.floorMs : 0, 3), Num(write.exchangesMs),
                     Num(write.floorMs > 0 ? write.exchangesMs / write.floorMs : 0, 3));
        const KindFigures lowLatency = Summarise(s.lotReads);
        const KindFigures plain = Summarise(s.lotReadsPlain);
        if (s.lotMs > 0) {
            out +=
                QStringLiteral("\nReads with the radio's replies in lots of %1 ms, as a USB bridge's latency "
                               "timer hands them on:\n\n"
                               "| read (runs) | median ms | p95 ms | wire floor ms | median / floor | "
                               "program us per exchange, median | p95 |\n"
                               "|---|---|---|---|---|---|---|\n")
                    .arg(s.lotMs);
            out += Row(QStringLiteral("no lots"), read) +
                   Row(QStringLiteral("lots, low latency asked for"), lowLatency) +
                   Row(QStringLiteral("lots, low latency not asked for"), plain);
        }
        const int irregular = read.irregular + write.irregular + lowLatency.irregular + plain.irregular;
        if (irregular > 0 || !s.failures.isEmpty())
            out += QStringLiteral("Sessions with retransmissions: %1; failed: %2 (%3).\n")
                       .arg(irregular)
                       .arg(s.failures.size())
                       .arg(s.failures.join(QStringLiteral(", ")));
    }
    if (figures.window) {
        const WindowRuns& w = *figures.window;
        out += u'\n';
        if (!w.error.isEmpty())
            return out + w.error + u'\n';
        out += QStringLiteral("| program | start to first paint, median (runs) | resident after a read | "
                              "idle CPU over %1 s |\n|---|---|---|---|\n")
                   .arg(w.idleSeconds);
        for (const ProgramStartups& p : w.programs) {
            out += QStringLiteral("| %1 | %2 (%3) | %4 | %5 |\n")
                       .arg(p.name, Ms(p.MedianMs()))
                       .arg(p.paintMs.size())
                       .arg(p.residentKiB ? Num(*p.residentKiB / 1024.0) + QStringLiteral(" MiB")
                                          : QStringLiteral("-"),
                            p.idleCpuPercent ? Num(*p.idleCpuPercent, 4) + QStringLiteral(" %")
                                             : QStringLiteral("-"));
        }
        if (const auto ratio = w.StartupRatio())
            out += QStringLiteral("\nStart-up against the fastest peer: %1 (goal: under 0.75).\n")
                       .arg(Num(*ratio, 2));
        else
            out += QStringLiteral("\nNo peer program is installed: no start-up ratio.\n");
        for (const QString& note : w.notes)
            out += note + u'\n';
        if (!w.clicks.isEmpty())
            out += ClickTable(w.clicks);
    }
    return out;
}

QJsonObject JsonReport(const BenchFigures& figures)
{
    QJsonObject root{{"machine", figures.machine}};
    if (figures.sessions) {
        const SessionRuns& s = *figures.sessions;
        if (!s.error.isEmpty())
            root["session_error"] = s.error;
        root["read"] = Json(Summarise(s.reads));
        root["write"] = Json(Summarise(s.writes));
        if (s.lotMs > 0) {
            root["lot_ms"] = s.lotMs;
            root["read_in_lots_low_latency"] = Json(Summarise(s.lotReads));
            root["read_in_lots_without_low_latency"] = Json(Summarise(s.lotReadsPlain));
        }
        root["failures"] = QJsonArray::fromStringList(s.failures);
    }
    if (figures.window) {
        const WindowRuns& w = *figures.window;
        QJsonObject window{{"idle_seconds", w.idleSeconds}};
        if (!w.error.isEmpty())
            window["error"] = w.error;
        QJsonArray programs;
        for (const ProgramStartups& p : w.programs) {
            QJsonObject o{{"name", p.name}, {"path", p.path}};
            QJsonArray paints;
            for (double ms : p.paintMs)
                paints.append(ms);
            o["first_paint_ms"] = paints;
            if (const auto m = p.MedianMs())
                o["first_paint_median_ms"] = *m;
            if (p.residentKiB)
                o["resident_kib_after_read"] = double(*p.residentKiB);
            if (p.idleCpuPercent)
                o["idle_cpu_percent"] = *p.idleCpuPercent;
            programs.append(o);
        }
        window["programs"] = programs;
        if (const auto ratio = w.StartupRatio())
            window["startup_ratio_to_fastest_peer"] = *ratio;
        window["notes"] = QJsonArray::fromStringList(w.notes);
        if (!w.clicks.isEmpty())
            window["read_clicks"] = ClickJson(w.clicks);
        root["window"] = window;
    }
    return root;
}
