#include "fuzz/targets/ktv_read_target.h"

#include "presets/ktv_codec.h"

#include <QByteArray>
#include <cmath>
#include <cstdlib>

namespace {

namespace ktv = korvanex::ktv;

void require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

bool within(float v, float lo, float hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
}

void checkRecord(const ktv::ParameterRecord& r) {
    for (const korvanex::Band& b : r.bands) {
        require(within(b.dB, ktv::kGainMin, ktv::kGainMax));
        require(within(b.Q, ktv::kQMin, ktv::kQMax));
        require(within(b.F, ktv::kFreqMin, ktv::kFreqMax));
    }
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
        require(r.fields[i] >= 0 && r.fields[i] <= ktv::kFieldMaximum[i]);
    }
}

} // namespace

int fuzzKtvRead(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ktv::ReadResult result = ktv::read(bytes);
    require(result.record.has_value() == (result.refusal == ktv::Refusal::None));
    if (!result.record) {
        return 0;
    }
    checkRecord(*result.record);
    for (ktv::DecimalPoint point : {ktv::DecimalPoint::Dot, ktv::DecimalPoint::Comma}) {
        const QByteArray written = ktv::write(*result.record, point);
        const ktv::ReadResult again = ktv::read(written);
        require(again.record.has_value());
        require(again.record->sliders == result.record->sliders);
        require(again.record->fields == result.record->fields);
        require(ktv::write(*again.record, point) == written);
    }
    return 0;
}
