#include "instrument/download_store.h"

#include <algorithm>

#include "data/series_range.h"

namespace corvan {

void BeginDownload(DataSet& data) {
    data.dataLoaded = false;
    data.statisticsValid = false;
    data.referenceLoaded = false;
    data.header = MeasurementFileHeader{};
    data.header.version = 0;
}

void StoreDownload(const DownloadedSeries& d, DataSet& data) {
    MeasurementFileHeader h{};
    h.version = 0;
    h.referenceNumber = d.referenceNumber;
    h.instrumentType = d.instrumentType;
    h.count = static_cast<std::int16_t>(std::clamp(d.count, 0, kMaxRecords));
    h.sensorKind = d.sensorKind;
    h.sensorCoefficient = d.sensorCoefficient;
    h.reserved = 0;
    data.header = h;
    for (std::size_t i = 0; i < data.series.size(); ++i) {
        const std::int32_t keptCode = data.series[i].intervalCode;
        data.series[i] = d.series[i];
        data.series[i].intervalCode = keptCode;
    }
    data.seriesCount = d.seriesCount;
    const int n = h.count;
    std::copy_n(d.records.begin(), n, data.records.begin());
    data.recordCount = n;
}

void SelectFirstSeriesRange(DataSet& data) {
    data.recordCount = data.HeaderCount();
    if (!SelectSeriesRange(data, RangeRequest{}).empty()) {
        // A set without a measurement in its first series has nothing to
        // show; no view may read a range from it.
        data.currentSeries = 1;
        data.rangeFirst = 0;
        data.rangeLast = -1;
        data.rangeCount = 0;
        data.statisticsValid = false;
    }
}

void SaveDownload(DataSet& data, const std::string& baseName) {
    data.baseName = baseName;
    WriteMeasurementFile(data);
    data.dataLoaded = true;
    data.statisticsValid = true;
    WriteReferenceFile(data, data.seriesCount);
    data.referenceLoaded = true;
    SelectFirstSeriesRange(data);
    SelectChannelDescriptors(data);
}

}  // namespace corvan
