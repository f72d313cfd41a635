#include "editor/set_upload.h"

#include <QDebug>

#include <chrono>
#include <cstdio>

#include "device/commands.h"
#include "device/frame_road.h"

namespace {

// One channel's group of record r: all fields, or the status alone.
void addGroup(
    FrameList& out, int r, bool right, const EQ_data& record, bool allFields, bool gainTenths)
{
    if (r == 0) {
        appendPreampFrames(out, right, record, allFields);
        return;
    }
    if (!allFields) {
        out << makeFrame(bandCommand(r, BandField::Status, right), statusCode(record.status));
        return;
    }
    const BandCodes codes = bandCodes(record, gainTenths);
    for (BandField field :
        { BandField::Type, BandField::Frequency, BandField::Gain, BandField::Q, BandField::Status })
        out << makeFrame(bandCommand(r, field, right), codes.of(field));
}

FrameList upload(EditRoute route, EQ_data* const* left, EQ_data* const* right,
    int32_t deviceEqStatus, bool gainTenths, bool editedWhole)
{
    FrameList out;
    out << makeFrame(command::kUploadBracket, 1);
    const bool otherSent = preampsLinkedOnDevice(deviceEqStatus);
    for (int r = 0; r < 12; ++r) {
        if (route == EditRoute::Linked) {
            if (!left[r])
                continue;
            const bool all = editedWhole || left[r]->status == 1;
            addGroup(out, r, false, *left[r], all, gainTenths);
            addGroup(out, r, true, *left[r], all, gainTenths);
            continue;
        }
        const bool editedRight = route == EditRoute::Right;
        for (bool rightChannel : { false, true }) {
            const EQ_data* record = rightChannel ? right[r] : left[r];
            if (!record)
                continue;
            if (rightChannel == editedRight) {
                addGroup(
                    out, r, rightChannel, *record, editedWhole || record->status == 1, gainTenths);
            } else if (otherSent && (record->status == 0 || record->status == 1)) {
                addGroup(out, r, rightChannel, *record, record->status == 1, gainTenths);
            }
        }
    }
    out << makeFrame(command::kUploadBracket, 0);
    return out;
}

} // namespace

FrameList setUploadFrames(EditRoute route, EQ_data* const* left, EQ_data* const* right,
    int32_t deviceEqStatus, bool gainTenths)
{
    return upload(route, left, right, deviceEqStatus, gainTenths, false);
}

FrameList clearedSetUploadFrames(EditRoute route, EQ_data* const* left, EQ_data* const* right,
    int32_t deviceEqStatus, bool gainTenths)
{
    return upload(route, left, right, deviceEqStatus, gainTenths, true);
}

void sendSetUpload(const FrameList& frames, bool timed)
{
    const auto start = std::chrono::steady_clock::now();
    if (!frameRoad().send(frames) || !timed)
        return;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const long long ms
        = std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 1000000;
    std::printf("任务运行时间: %lld 毫秒\n", ms);
    std::fflush(stdout);
    qDebug() << "任务运行时间:" << ms;
}
