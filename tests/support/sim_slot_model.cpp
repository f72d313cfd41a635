#include "sim_slot_model.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kOneSetWords = 39;
constexpr int kLeftRightWords = 74;
constexpr int kLeftRightMessage = 78;
constexpr int kOneSetStreamWords = 201;
constexpr int kFactoryStreamWords = 199;
constexpr int kStreamRecords = 5;

uint8_t byteAt(const std::vector<int32_t>& w, int offset)
{
    return static_cast<uint8_t>(static_cast<uint32_t>(w[offset / 4]) >> (8 * (offset % 4)));
}

int32_t int32At(const std::vector<int32_t>& w, int offset)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(byteAt(w, offset + i)) << (8 * i);
    return static_cast<int32_t>(v);
}

std::string nameAt(const std::vector<int32_t>& w)
{
    std::string name;
    for (int i = 0; i < 16 && byteAt(w, i) != 0; ++i)
        name.push_back(static_cast<char>(byteAt(w, i)));
    return name;
}

SlotChannel channelAt(const std::vector<int32_t>& w, int preampAt, int bandsAt, int tenthsPerStep)
{
    SlotChannel c;
    c.preampStatus = byteAt(w, preampAt);
    c.preampWord = int32At(w, preampAt + 4);
    for (int n = 0; n < 11; ++n) {
        const int at = bandsAt + 12 * n;
        c.bands[n] = { byteAt(w, at), static_cast<int8_t>(byteAt(w, at + 1)),
            static_cast<int8_t>(byteAt(w, at + 2)) * tenthsPerStep, int32At(w, at + 4),
            int32At(w, at + 8) };
    }
    return c;
}

void appendChannelBands(std::vector<int32_t>& w, const SlotChannel& c, int tenthsPerStep)
{
    for (const SlotBand& b : c.bands) {
        w.push_back(bandWord(b.status, b.type, static_cast<int8_t>(b.gainTenths / tenthsPerStep)));
        w.push_back(b.frequency);
        w.push_back(b.q);
    }
}

void append(std::vector<Report>& out, const std::vector<Report>& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

SlotBand slotBand(const Band& b, int tenthsPerStep)
{
    return { b.status, b.type, b.gain * tenthsPerStep, b.frequency, b.q };
}

SlotRecord slotRecord(
    const std::string& name, uint8_t preampStatus, int32_t preampWord, const SlotBand& band1)
{
    SlotRecord r;
    r.name = name;
    r.left.preampStatus = preampStatus;
    r.left.preampWord = preampWord;
    r.left.bands[0] = band1;
    r.right = r.left;
    return r;
}

std::vector<int32_t> encodeOneSet(const SlotRecord& r, int tenthsPerStep)
{
    std::vector<int32_t> w = nameWords(r.name);
    w.push_back(r.left.preampStatus);
    w.push_back(r.left.preampWord);
    appendChannelBands(w, r.left, tenthsPerStep);
    return w;
}

std::vector<int32_t> encodeLeftRight(const SlotRecord& r, int tenthsPerStep)
{
    std::vector<int32_t> w = nameWords(r.name);
    w.insert(w.end(),
        { r.left.preampStatus, r.left.preampWord, r.right.preampStatus, r.right.preampWord });
    appendChannelBands(w, r.left, tenthsPerStep);
    appendChannelBands(w, r.right, tenthsPerStep);
    w.insert(w.end(), kLeftRightMessage - kLeftRightWords, 0);
    return w;
}

SlotModel::SlotModel(ModelSheet sheet)
    : ScriptedModel({})
    , m_sheet(std::move(sheet))
{
    setBurst(burstLocked());
}

bool SlotModel::leftRight() const { return m_sheet.eqCode >= 128; }

int SlotModel::incomingTenthsPerStep() const
{
    return m_sheet.tenthsAfterListing || m_sheet.eqCode >= 192 ? 1 : 5;
}

std::vector<Report> SlotModel::burstLocked() const
{
    const ModelSheet& s = m_sheet;
    const int users = static_cast<int>(s.user.size());
    const int active = s.activeSlot >= 0 && s.activeSlot < users ? s.activeSlot : -1;
    std::vector<Report> out { makeReport(0x1101, 1), makeReport(0x1201, s.hardware),
        makeReport(0x1202, s.firmware), makeReport(0x1203, static_cast<int32_t>(s.identity)),
        makeReport(0x1204, s.eqCode), makeReport(0x1114, 0), makeReport(0x1107, s.rate),
        makeReport(0x1116, s.autoMute), makeReport(0x1206, active) };
    if (s.mask)
        out.push_back(makeReport(0x1112, *s.mask));
    if (leftRight()) {
        // The stream carries gains in the unit of the state code.
        const int step = s.eqCode >= 192 ? 1 : 5;
        out.push_back(makeReport(0x1106, users, 2, 0));
        for (const SlotRecord& r : s.user)
            append(out, wordStream(0x1106, encodeLeftRight(r, step)));
    } else {
        std::vector<int32_t> words;
        for (int k = 0; k < kStreamRecords; ++k) {
            const auto record = encodeOneSet(k < users ? s.user[k] : SlotRecord {}, 5);
            words.insert(words.end(), record.begin(), record.end());
        }
        words.push_back(users);
        words.resize(kOneSetStreamWords, 0);
        append(out, wordStream(0x1106, words));
    }
    if (!s.factory.empty()) {
        std::vector<int32_t> words;
        for (const SlotRecord& r : s.factory) {
            const auto record = encodeOneSet(r, 5);
            words.insert(words.end(), record.begin(), record.end());
        }
        words.resize(kFactoryStreamWords, 0);
        append(out, wordStream(0x1113, words));
    }
    if (s.listsAtIdentity)
        out.push_back(makeReport(0x1203, static_cast<int32_t>(s.identity)));
    append(out, s.trailer);
    return out;
}

std::vector<Report> SlotModel::nextBurst() const
{
    std::lock_guard lock(m_tableMutex);
    return burstLocked();
}

void SlotModel::onOpen(Engine& engine)
{
    {
        std::lock_guard lock(m_tableMutex);
        m_words.clear();
        m_recordCommand = 0;
        m_pendingSlot = -1;
        setBurst(burstLocked());
    }
    ScriptedModel::onOpen(engine);
}

std::vector<SlotRecord> SlotModel::userSlots() const
{
    std::lock_guard lock(m_tableMutex);
    return m_sheet.user;
}

int SlotModel::activeSlot() const
{
    std::lock_guard lock(m_tableMutex);
    return m_sheet.activeSlot;
}

int32_t SlotModel::mask() const
{
    std::lock_guard lock(m_tableMutex);
    return m_sheet.mask.value_or(0);
}

SlotRecord SlotModel::decodeRecord(const std::vector<int32_t>& w, int tenthsPerStep) const
{
    SlotRecord r;
    r.name = nameAt(w);
    if (w.size() == size_t(kOneSetWords)) {
        r.left = channelAt(w, 16, 24, tenthsPerStep);
        r.right = r.left;
    } else {
        r.left = channelAt(w, 16, 32, tenthsPerStep);
        r.right = channelAt(w, 24, 164, tenthsPerStep);
    }
    return r;
}

// 0x110B, 0x1110 and 0x110D words: collected by index, applied at the last.
void SlotModel::applyRecordFrame(const Frame& f)
{
    if (f.command != m_recordCommand || f.current == 0) {
        m_recordCommand = f.command;
        m_words.assign(f.command == 0x110D ? 4 : f.total, 0);
    }
    if (f.current >= m_words.size())
        return;
    m_words[f.current] = f.data;
    if (f.current + 1u != m_words.size())
        return;
    std::vector<SlotRecord>& user = m_sheet.user;
    const bool slotHeld = m_pendingSlot >= 0 && m_pendingSlot < static_cast<int>(user.size());
    if (f.command == 0x110D) {
        if (slotHeld)
            user[m_pendingSlot].name = nameAt(m_words);
        return;
    }
    const bool whole = m_words.size() == size_t(leftRight() ? kLeftRightWords : kOneSetWords);
    if (!whole)
        return;
    // A one-set store carries 0.5 dB steps; everything else the device's unit.
    const bool oneSetStore = f.command == 0x110B && !leftRight();
    const SlotRecord record = decodeRecord(m_words, oneSetStore ? 5 : incomingTenthsPerStep());
    if (f.command == 0x110B && static_cast<int>(user.size()) < m_sheet.capacity)
        user.push_back(record);
    else if (f.command == 0x1110 && slotHeld)
        user[m_pendingSlot] = record;
}

void SlotModel::applyBandFrame(const Frame& f)
{
    std::vector<SlotRecord>& user = m_sheet.user;
    const int slot = m_sheet.activeSlot;
    if (slot < 0 || slot >= static_cast<int>(user.size()))
        return; // no stored slot is active: only the working set changes
    SlotRecord& r = user[slot];
    const uint32_t group = f.command >> 8;
    const uint32_t item = f.command & 0xFF;
    if (group == 0x9C) {
        SlotChannel& c = item <= 2 ? r.left : r.right;
        if (!leftRight() && item > 2)
            return;
        if (item == 1 || item == 3)
            c.preampWord = f.data;
        else
            c.preampStatus = static_cast<uint8_t>(f.data);
        return;
    }
    if (group < 0x91 || group > 0x9B || item < 1 || item > 10)
        return;
    const bool right = item > 5;
    if (right && !leftRight())
        return;
    SlotBand& b = (right ? r.right : r.left).bands[group - 0x91];
    switch (right ? item - 5 : item) {
    case 1:
        b.type = static_cast<int8_t>(f.data);
        break;
    case 2:
        b.frequency = f.data;
        break;
    case 3:
        b.gainTenths = f.data * incomingTenthsPerStep();
        break;
    case 4:
        b.q = f.data;
        break;
    case 5:
        b.status = static_cast<uint8_t>(f.data);
        break;
    default:
        break;
    }
}

void SlotModel::onWrite(Engine& engine, const Frame& frame)
{
    {
        std::lock_guard lock(m_tableMutex);
        std::vector<SlotRecord>& user = m_sheet.user;
        switch (frame.command) {
        case 0x110E:
            m_sheet.activeSlot = frame.data;
            break;
        case 0x1119:
            m_sheet.activeSlot = frame.data;
            break;
        case 0x110F:
        case 0x110C:
            m_pendingSlot = frame.data;
            break;
        case 0x110A:
            if (frame.data >= 0 && frame.data < static_cast<int>(user.size()))
                user.erase(user.begin() + frame.data);
            break;
        case 0x1112:
            m_sheet.mask = frame.data;
            break;
        case 0x1116:
            m_sheet.autoMute = frame.data;
            break;
        case 0x110B:
        case 0x1110:
        case 0x110D:
            applyRecordFrame(frame);
            break;
        default:
            if ((frame.command >> 12) == 0x9 && frame.command != 0x9D01 && frame.command != 0x9E01)
                applyBandFrame(frame);
            break;
        }
    }
    ScriptedModel::onWrite(engine, frame);
}

// ---- Model sheets ----

ModelSheet modelASheet()
{
    ModelSheet s;
    s.identity = kModelAIdentity;
    s.user = { slotRecord("Rock", 1, 47396876, slotBand({ 1, 1, -6, 1000, 7070 }, 5)),
        slotRecord("Pop", 1, kUnityPreamp, SlotBand {}) };
    s.listsAtIdentity = false;
    return s;
}

namespace {
std::vector<SlotRecord> liveAndVocal()
{
    SlotRecord live = slotRecord("Live", 1, kUnityPreamp, slotBand({ 1, 1, -30, 1000, 7070 }, 1));
    live.right.preampWord = kNoPreampWord;
    live.right.bands[0] = slotBand({ 1, 4, 60, 100, 7070 }, 1);
    SlotRecord vocal = slotRecord("Vocal", 0, kUnityPreamp, slotBand({ 1, 1, 20, 3000, 10000 }, 1));
    return { live, vocal };
}

std::vector<SlotRecord> factoryRecords()
{
    const struct
    {
        const char* name;
        Band band1;
    } presets[] = {
        { "Bass 1", { 1, 4, 12, 100, 7070 } },
        { "Bass 2", { 1, 4, 18, 80, 7070 } },
        { "Airy", { 1, 5, 8, 10000, 7070 } },
        { "Warm", { 1, 1, 6, 250, 10000 } },
        { "Dynamic", { 1, 1, -4, 1000, 14100 } },
    };
    std::vector<SlotRecord> out;
    for (const auto& p : presets)
        out.push_back(slotRecord(p.name, 1, kNoPreampWord, slotBand(p.band1, 5)));
    return out;
}

ModelSheet leftRightSheet(uint32_t identity)
{
    ModelSheet s;
    s.identity = identity;
    s.hardware = 0x200;
    s.firmware = 0x110;
    s.eqCode = 193;
    s.rate = 96000;
    s.autoMute = 1;
    s.mask = 1;
    s.user = liveAndVocal();
    s.factory = factoryRecords();
    return s;
}
} // namespace

ModelSheet modelBSheet()
{
    ModelSheet s = leftRightSheet(kModelBIdentity);
    s.trailer = { makeReport(0x1204, 193) };
    return s;
}

ModelSheet modelCSheet()
{
    ModelSheet s = leftRightSheet(kModelCIdentity);
    s.listsAtIdentity = false;
    s.trailer
        = { makeReport(0x1203, static_cast<int32_t>(kModelCIdentity)), makeReport(0x1101, 1) };
    return s;
}

ModelSheet mirel1Sheet()
{
    ModelSheet s;
    s.identity = 0x51565460;
    s.hardware = 0x100;
    s.firmware = 0x120;
    s.eqCode = 129;
    s.mask = 0;
    s.capacity = 3;
    s.tenthsAfterListing = true;
    s.user = { slotRecord("Flat", 1, kUnityPreamp, SlotBand {}),
        slotRecord("Bright", 1, kUnityPreamp, slotBand({ 1, 5, 4, 8000, 7070 }, 5)),
        slotRecord("Deep", 1, kUnityPreamp, slotBand({ 1, 4, 6, 60, 7070 }, 5)) };
    return s;
}

ModelSheet fiveSlotSheet()
{
    ModelSheet s;
    s.identity = 0x6E217330;
    s.firmware = 0x100;
    s.eqCode = 1;
    s.user = { slotRecord("Rock", 1, kUnityPreamp, slotBand({ 1, 1, -6, 1000, 7070 }, 5)),
        slotRecord("Pop", 1, kUnityPreamp, SlotBand {}),
        slotRecord("Jazz", 1, kUnityPreamp, slotBand({ 1, 1, 4, 2000, 14100 }, 5)),
        slotRecord("Club", 1, kUnityPreamp, slotBand({ 1, 4, 8, 80, 7070 }, 5)),
        slotRecord("Talk", 1, kUnityPreamp, slotBand({ 1, 3, 0, 120, 7070 }, 5)) };
    s.factory = factoryRecords();
    return s;
}

ModelSheet tenSlotSheet(int used)
{
    ModelSheet s;
    s.identity = kModelBIdentity;
    s.hardware = 0x200;
    s.firmware = 0x120;
    s.eqCode = 129;
    s.rate = 48000;
    s.mask = 0;
    s.capacity = 10;
    for (int k = 0; k < used; ++k)
        s.user.push_back(slotRecord("Slot" + std::to_string(k + 1), 1, kUnityPreamp,
            slotBand({ 1, 1, static_cast<int8_t>(k + 1), 1000, 7070 }, 5)));
    return s;
}

} // namespace sim
