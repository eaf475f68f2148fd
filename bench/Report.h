// The figures as one Markdown table for people, or as JSON for machines.
#pragma once

#include "SessionBench.h"
#include "WindowBench.h"

#include <QJsonObject>
#include <QString>

#include <optional>

struct BenchFigures
{
    QString machine; // processor, cores, load
    std::optional<SessionRuns> sessions;
    std::optional<WindowRuns> window;
};

QString MarkdownReport(const BenchFigures& figures);
QJsonObject JsonReport(const BenchFigures& figures);
