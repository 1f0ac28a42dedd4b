#pragma once

#include "TrendSample.h"

#include <vector>

class TrendRing;

// One pixel column of a curve: the lowest and highest value in it, the
// first and last (to join it to its neighbours), whether a gap lies before
// the first or after the last value, and the worst status of its values.
struct TrendColumn
{
    bool hasValue = false;
    bool gap = false; // a gap sample lies in the column
    bool gapBeforeFirst = false;
    bool gapAfterLast = false;
    float min = 0.0f;
    float max = 0.0f;
    float first = 0.0f;
    float last = 0.0f;
    TrendStatus worst = TrendStatus::Good;
};

// A stretch of columns whose values the device flagged, joined across the
// empty columns between them.
struct TrendStretch
{
    int first = 0;
    int last = 0;
    TrendStatus status = TrendStatus::Uncertain;

    bool operator==(const TrendStretch &) const = default;
};

// Reduces the samples of a time window to one entry per pixel column, so
// that drawing a day costs what drawing a minute does.
struct TrendReduction
{
    // Columns for [fromMs, toMs) over width pixels; column c covers
    // [from + c * (to - from) / width, from + (c + 1) * (to - from) / width).
    static std::vector<TrendColumn> reduce(const TrendRing &ring, qint64 fromMs, qint64 toMs,
                                           int width);
    // Whether the line may run from column a (its last value) to column b (its
    // first), with only empty columns between them.
    static bool joins(const std::vector<TrendColumn> &columns, int a, int b);
    // The stretches of uncertain and bad values, in column order.
    static std::vector<TrendStretch> stretches(const std::vector<TrendColumn> &columns);
};
