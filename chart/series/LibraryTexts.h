#ifndef ZENDRIK_CHART_SERIES_LIBRARYTEXTS_H
#define ZENDRIK_CHART_SERIES_LIBRARYTEXTS_H

#include <QString>
#include <array>

// The second text table of the chart library, beside the message table: captions, tool names and
// descriptions, menu and hint texts, file filters and error messages of the extended series,
// functions, tools, editors and the chart commander, in their fixed order. A carriage return
// (character 13) in a gallery or function caption splits it into two lines; %d, %s and %% are
// the placeholders of the library's formatting.
enum class LibText : int {
    // Gallery names of further series types (rows 1-25)
    GalleryPolar, GalleryCandle, GalleryVolume, GallerySurface, GalleryContour, GalleryBezier, GalleryPoint3D,
    GalleryRadar, GalleryDonut, GalleryCursor, GalleryBar3D, GalleryBigCandle, GalleryLinePoint,
    GalleryHistogram, GalleryWaterFall, GalleryWindRose, GalleryClock, GalleryColorGrid, GalleryBoxPlot,
    GalleryHorizBoxPlot, GalleryBarJoin, GallerySmith, GalleryPyramid, GalleryMap, GalleryVolumePipe,
    // Error messages of statistical functions (rows 26-30)
    ErrPolyDegree, ErrAnswerVectorIndex, ErrFittingError, ErrPeriodNegative, ErrExpAverageWeight,
    // Gallery names of functions (rows 31-51)
    FunctionErrorBar, FunctionError, FunctionHighLow, FunctionMomentum, FunctionMomentumDivision,
    FunctionExpAverage, FunctionMovingAverage, FunctionExpMovingAverage, FunctionRsi, FunctionCurveFitting,
    FunctionTrend, FunctionExpTrend, FunctionLogTrend, FunctionCumulative, FunctionStdDeviation,
    FunctionBollinger, FunctionRms, FunctionMacd, FunctionStochastic, FunctionAdx, FunctionCount,
    // File dialogs, the word for other items, the statistics heading, the series-editor error (rows 52-57)
    OpenChartFile, SaveChartFile, ChartFilesFilter, OtherItems, StatsHeading, ErrSeriesEditorForm,
    // Names of value lists and of a 3D grid series, the Bezier error (rows 58-66)
    ValueListDate, ValueListOpen, ValueListHigh, ValueListLow, ValueListClose, ValueListOffset,
    ValueListStdError, GalleryGrid3D, ErrBezierPoints,
    // Chart commander: buttons, status and hint texts, surface errors (rows 67-93)
    CommanderNormal, CommanderEdit, CommanderPrint, CommanderCopy, CommanderSave, Commander3D,
    CommanderRotationStatus, CommanderRotate, CommanderOffsetStatus, CommanderMove, CommanderZoomStatus,
    CommanderZoom, CommanderDepthStatus, CommanderDepth, CommanderChart, CommanderPanel, CommanderRotateHint,
    CommanderMoveHint, CommanderZoomHint, CommanderDepthHint, CommanderNormalHint, CommanderPieExplodeHint,
    CommanderPieExploded, ErrSurfacePointCount, ErrColinearPoints, ErrSimilarPoints, GalleryTriangleSurface,
    // Gallery page names and tool names (rows 94-107)
    PageAllSeries, PageEdit, PageFinancial, ToolCursor, ToolDragMarks, ToolAxisArrows, ToolDrawLine,
    ToolNearestPoint, ToolColorBand, ToolColorLine, ToolRotate, ToolImage, ToolMarkTips, ToolAnnotation,
    // Editor and pop-up menu texts (rows 108-132)
    ErrDeleteAncestor, MenuLoad, MenuChart, MenuChartSeries, Menu3D, Hint3D, MenuActive, HintActive,
    HintEditChart, MenuEdit, HintCopy, MenuCopy, HintPrint, MenuPrint, HintAxes, MenuAxes, HintGrids,
    MenuGrids, HintLegend, MenuLegend, HintEditSeries, HintMarks, MenuMarks, HintSaveChart, MenuSave,
    // Series sub-gallery and style texts (rows 133-163)
    StyleBar, StyleNoOpen, StyleNoClose, StyleNoHigh, StyleNoLow, StyleColorRange, StyleWireframe,
    StyleDotFrame, StylePositions, StyleNoGrid, StyleNoPoint, StyleNoLine, StyleLabels, StyleNoCircle,
    StyleLines, StyleBorder, StyleResistance, StyleReactance, StyleColumn, StyleSeparator, StyleSegment,
    StyleFunnel, FunnelPercentFormat, FunnelExceedsQuota, FunnelWithinQuota, FunnelBelowQuota,
    GalleryCalendar, GalleryDeltaPoint, GalleryImagePoint, GalleryImageBar, ErrSeriesTextFieldIndex,
    // Further series, function and tool names (rows 164-227)
    NameOrigin, NameTransparency, NameBox, NameExtrOut, NameMildOut, ToolPageNumber, ToolDragPoint,
    ValueListOpportunity, ValueListQuote, FunctionSmoothing, FunctionCrossPoints, Tool3DGridTranspose,
    FunctionCompression, ToolExtraLegend, FunctionCloseLocation, FunctionOnBalanceVolume,
    FunctionCommodityChannel, FunctionVolumeOscillator, ToolSeriesAnimation, GalleryPointFigure, NameUp,
    NameDown, ToolGanttDrag, XmlFileFilter, ToolGridBand, FunctionPerformance, GalleryGauge, PageGauges,
    ValueListEndZ, GalleryVector3D, Name3D, GalleryTower, StyleSingleColor, StyleCover, StyleCone,
    ToolPieSlices, NameStop, NameExecute, NameThemes, Tool2DLighting, NameCurrent, FunctionCorrelation,
    FunctionVariance, GalleryBubble3D, GalleryHorizHistogram, FunctionPerimeter, ToolSurfaceNearest,
    ToolAxisScroll, ToolRectangle, GalleryPolarBar, NameWapBitmap, WapBitmapFilter, ToolClipSeries,
    ToolSeriesBand, NameFacts, FunctionDownsampling, ToolSelector, ToolLegendScrollbar, ToolDataTable,
    GalleryIsoSurface, NameUpToValue, NameNoCompression, GalleryDarvas, ToolVideoCreator,
    // Tool descriptions and names (rows 228-264)
    ToolVideoCreatorDesc, ToolVideoPlayer, ToolVideoPlayerDesc, ToolCursorDesc, ToolDragMarksDesc,
    ToolDragPointDesc, ToolDrawLineDesc, ToolExtraLegendDesc, ToolGanttDragDesc, ToolMarkTipsDesc,
    ToolNearestPointDesc, ToolPieSlicesDesc, ToolSeriesAnimationDesc, ToolAxisArrowsDesc, ToolColorBandDesc,
    ToolColorLineDesc, ToolGridBandDesc, ToolGridTransposeDesc, ToolAnnotationDesc, ToolRectangleDesc,
    ToolRotateDesc, ToolImageDesc, Tool2DLightingDesc, ToolSurfaceNearestDesc, ToolAxisScrollDesc,
    ToolLegendScrollDesc, ToolClipSeriesDesc, ToolSelectorDesc, ToolStatisticsDesc, ToolPageNumberDesc,
    ToolTranspose, ToolTransposeDesc, Tool3DGridTransposeDesc, ToolLegendScrollbarDesc, ToolDataTableDesc,
    ToolSeriesBandDesc, NameRandom,
    // Further names, descriptions, menu texts and messages (rows 265-304)
    MenuPlay, GalleryHighLowLine, StyleMirrored, ToolPolarGrid, ToolFullScreen, ToolFullScreenDesc,
    ToolMagnify, ToolMagnifyDesc, ToolFader, ToolFaderDesc, ToolSubChart, ToolSubChartDesc, ToolAntiAlias,
    ToolAntiAliasDesc, ToolSeriesRegion, ToolSeriesRegionDesc, ToolText3D, ToolText3DDesc, ToolBanner,
    ToolBannerDesc, MenuNew, MenuDelete, MenuRename, MenuPageEdit, MenuViewToolbar, RenameChartPage,
    NewNamePrompt, ToolFrame, ToolFrameDesc, FunctionHistogram, ErrExcelEmpty, NameExcel, ErrExcelWorksheet,
    ErrExcelRange, SummaryProperties, ToolLegendPalette, ToolLegendPaletteDesc, NameStatistics, NameScrollbar,
    GalleryOrgChart,
    // Map series regions (rows 305-319)
    MapWorld, MapAfrica, MapAsia, MapAustralia, MapCentralAmerica, MapEurope, MapEurope15, MapEurope27,
    MapSpain, MapMiddleEast, MapNorthAmerica, MapSouthAmerica, MapUsa, MapUsaAlaska, PageMaps,
    // Latest series and tool names and texts (rows 320-334)
    GalleryTagCloud, GalleryRenko, GalleryKagi, GalleryNumericGauge, GalleryCircularGauge, GalleryLed,
    GalleryLinearGauge, ToolLink, ToolLinkDesc, ToolFibonacci, ToolFibonacciDesc, NameVertical, AviFile,
    SelectAviFile, MpegVideoFilter,
    Count
};

inline constexpr int kLibraryTextCount = static_cast<int>(LibText::Count);

// One text variable per row, empty until the start-up assigns them all and emptied again by the
// last shut-down; a translation replaces them by assigning them again. The application owns one
// and passes it on; readers read a text whenever they show it.
struct TLibraryTexts {
    int StartCount = 0;
    std::array<QString, kLibraryTextCount> Texts;

    const QString& operator[](LibText id) const { return Texts[static_cast<size_t>(id)]; }
    QString& operator[](LibText id) { return Texts[static_cast<size_t>(id)]; }
};

// Assigns all texts in row order.
void SetProMessageTexts(TLibraryTexts& texts);
// The first start assigns the texts; a later start assigns nothing.
void StartLibraryTexts(TLibraryTexts& texts);
// The last stop empties every text.
void StopLibraryTexts(TLibraryTexts& texts);

#endif
