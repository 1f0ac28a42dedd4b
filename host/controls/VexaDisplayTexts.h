#pragma once

#include <QString>

// The display controls' own texts in the program's language through its
// installed translations (context "VexaDisplayTexts"): the host knows
// nothing of the program's string table.
class VexaDisplayTexts
{
public:
    enum Id
    {
        Pause,
        Resume,
        Live,
        ZoomIn,
        ZoomOut,
        Marker,
        MarkerNote,
        ExportCsv,
        ExportPicture,
        SamplesInMemory,
        WholeRecording,
        BetweenMarkers,
        Time,
        NoValue,
        ExportTitle,
        From,
        To,
        StartOfRecording,
        Now,
        CsvFilter,
        PictureFilter,
        ExportFailed,    // %1 the file, %2 the reason
        RecordingFailed, // %1 the reason
        AxisTooltip,
        Points,
        PointX,
        PointY,
        AddPoint,
        RemovePoint,
        ResetCurve,
        NotConnected,
        AxisHint,
        MarkerTooltip,
        StatusUncertain,
        StatusBad,
    };

    static QString text(Id id);
};
