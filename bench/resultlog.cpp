#include "resultlog.h"

#include <algorithm>
#include <cstdio>

namespace ResultLog {

void text(const QString &key, const QString &value)
{
    std::printf("BENCH %s %s\n", qPrintable(key), qPrintable(value));
    std::fflush(stdout);
}

void value(const QString &key, double value)
{
    text(key, QString::number(value, 'f', 6));
}

double nsToMs(qint64 ns)
{
    return double(ns) / 1e6;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double largest(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}

}  // namespace ResultLog

#include "procstats.h"

namespace ResultLog {

void memory(const QString &stage)
{
    const qint64 pid = ProcStats::selfPid();
    value(stage + QLatin1String("_rss_kb"), double(ProcStats::residentKb(pid)));
    value(stage + QLatin1String("_peak_rss_kb"), double(ProcStats::peakResidentKb(pid)));
    value(stage + QLatin1String("_tree_pss_kb"), double(ProcStats::treeProportionalKb(pid)));
}

}  // namespace ResultLog
