#pragma once

#include <QList>
#include <QString>

// Results go to standard output as "BENCH <key> <value>" lines, which the
// driver script collects; everything else the programs print is ignored.
namespace ResultLog {

void value(const QString &key, double value);
void text(const QString &key, const QString &value);
double nsToMs(qint64 ns);

// Median of the values (0 for none) and the largest of them.
double median(QList<double> values);
double largest(const QList<double> &values);

}  // namespace ResultLog

namespace ResultLog {
// Resident size of this process, its peak so far and proportional size of it
// with its helper processes, as "<stage>_rss_kb", "<stage>_peak_rss_kb" and
// "<stage>_tree_pss_kb".
void memory(const QString &stage);
}  // namespace ResultLog
