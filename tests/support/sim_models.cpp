#include "sim_models.h"

#include "sim_slot_model.h"

namespace sim {

std::vector<int32_t> nameWords(const std::string& utf8)
{
    std::vector<int32_t> words(4, 0);
    for (size_t i = 0; i < utf8.size() && i < 16; ++i) {
        const auto byte = static_cast<uint32_t>(static_cast<uint8_t>(utf8[i]));
        words[i / 4]
            = static_cast<int32_t>(static_cast<uint32_t>(words[i / 4]) | byte << (8 * (i % 4)));
    }
    return words;
}

int32_t bandWord(uint8_t status, int8_t type, int8_t gain)
{
    return static_cast<int32_t>(uint32_t(status) | uint32_t(static_cast<uint8_t>(type)) << 8
        | uint32_t(static_cast<uint8_t>(gain)) << 16);
}

namespace {
void appendBand(std::vector<int32_t>& w, const Band& b)
{
    w.push_back(bandWord(b.status, b.type, b.gain));
    w.push_back(b.frequency);
    w.push_back(b.q);
}

void appendBands(std::vector<int32_t>& w, const Band* band1)
{
    appendBand(w, band1 ? *band1 : kOffBand);
    for (int n = 2; n <= 11; ++n)
        appendBand(w, kOffBand);
}

void append(std::vector<Report>& out, const std::vector<Report>& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// Hello answer, versions, identity, EQ state, standby, rate, auto-mute, slot.
std::vector<Report> stateBurst(int32_t hardware, int32_t firmware, uint32_t identity,
    int32_t eqCode, int32_t rate, int32_t autoMute)
{
    return { makeReport(0x1101, 1), makeReport(0x1201, hardware), makeReport(0x1202, firmware),
        makeReport(0x1203, static_cast<int32_t>(identity)), makeReport(0x1204, eqCode),
        makeReport(0x1114, 0), makeReport(0x1107, rate), makeReport(0x1116, autoMute),
        makeReport(0x1206, 0) };
}

std::vector<Report> leftRightBurst(uint32_t identity)
{
    std::vector<Report> out = stateBurst(0x200, 0x110, identity, 193, 96000, 1);
    out.push_back(makeReport(0x1112, 1));
    append(out, leftRightStream({ liveRecord(), vocalRecord() }));
    append(out, factoryStream(factoryWords()));
    return out;
}
} // namespace

std::vector<int32_t> oneSetRecord(
    const std::string& name, int32_t preampStatus, int32_t preampWord, const Band* band1)
{
    std::vector<int32_t> w = nameWords(name);
    w.push_back(preampStatus);
    w.push_back(preampWord);
    appendBands(w, band1);
    return w;
}

std::vector<int32_t> leftRightRecord(const std::string& name, int32_t leftStatus, int32_t leftWord,
    int32_t rightStatus, int32_t rightWord, const Band& leftBand1, const Band& rightBand1)
{
    std::vector<int32_t> w = nameWords(name);
    w.insert(w.end(), { leftStatus, leftWord, rightStatus, rightWord });
    appendBands(w, &leftBand1);
    appendBands(w, &rightBand1);
    w.insert(w.end(), 4, 0);
    return w;
}

std::vector<Report> wordStream(uint32_t command, const std::vector<int32_t>& words)
{
    std::vector<Report> out;
    for (size_t k = 0; k < words.size(); ++k)
        out.push_back(makeReport(
            command, words[k], static_cast<uint8_t>(words.size()), static_cast<uint8_t>(k)));
    return out;
}

std::vector<Report> oneSetStream(const std::vector<int32_t>& words201)
{
    return wordStream(0x1106, words201);
}

std::vector<Report> leftRightStream(const std::vector<std::vector<int32_t>>& records)
{
    std::vector<Report> out { makeReport(0x1106, static_cast<int32_t>(records.size()), 2, 0) };
    for (const auto& record : records)
        append(out, wordStream(0x1106, record));
    return out;
}

std::vector<Report> factoryStream(const std::vector<int32_t>& words199)
{
    return wordStream(0x1113, words199);
}

std::vector<int32_t> modelAUserWords()
{
    const Band rockBand1 { 1, 1, -6, 1000, 7070 };
    std::vector<int32_t> w = oneSetRecord("Rock", 1, 47396876, &rockBand1);
    const auto pop = oneSetRecord("Pop", 1, kUnityPreamp, nullptr);
    w.insert(w.end(), pop.begin(), pop.end());
    for (int k = 0; k < 3; ++k) {
        const auto empty = oneSetRecord("", 0, kUnityPreamp, nullptr);
        w.insert(w.end(), empty.begin(), empty.end());
    }
    w.push_back(2);
    w.insert(w.end(), 5, 0);
    return w;
}

std::vector<int32_t> liveRecord()
{
    return leftRightRecord("Live", 1, kUnityPreamp, 1, kNoPreampWord,
        Band { 1, 1, -30, 1000, 7070 }, Band { 1, 4, 60, 100, 7070 });
}

std::vector<int32_t> vocalRecord()
{
    const Band band1 { 1, 1, 20, 3000, 10000 };
    return leftRightRecord("Vocal", 0, kUnityPreamp, 0, kUnityPreamp, band1, band1);
}

std::vector<int32_t> factoryWords()
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
    std::vector<int32_t> w;
    for (const auto& p : presets) {
        const auto record = oneSetRecord(p.name, 1, kNoPreampWord, &p.band1);
        w.insert(w.end(), record.begin(), record.end());
    }
    w.insert(w.end(), 4, 0);
    return w;
}

std::vector<Report> modelABurst()
{
    std::vector<Report> out = stateBurst(0x100, 0x150, kModelAIdentity, 1, 44100, 0);
    append(out, oneSetStream(modelAUserWords()));
    return out;
}

std::vector<Report> modelBBurst(bool eqStateAgain)
{
    std::vector<Report> out = leftRightBurst(kModelBIdentity);
    out.push_back(makeReport(0x1203, static_cast<int32_t>(kModelBIdentity)));
    if (eqStateAgain)
        out.push_back(makeReport(0x1204, 193));
    return out;
}

std::vector<Report> modelCBurst(bool identityAgain, bool helloAgain)
{
    std::vector<Report> out = leftRightBurst(kModelCIdentity);
    if (identityAgain)
        out.push_back(makeReport(0x1203, static_cast<int32_t>(kModelCIdentity)));
    if (helloAgain)
        out.push_back(makeReport(0x1101, 1));
    return out;
}

std::vector<Report> unknownBurst()
{
    std::vector<Report> out = stateBurst(0x100, 0x150, kUnknownIdentity, 1, 44100, 0);
    append(out, oneSetStream(modelAUserWords()));
    return out;
}

void ScriptedModel::setBurst(std::vector<Report> burst)
{
    std::lock_guard lock(m_mutex);
    m_burst = std::move(burst);
}

void ScriptedModel::setStopAfter(size_t reports)
{
    std::lock_guard lock(m_mutex);
    m_stopAfter = reports;
}

int32_t ScriptedModel::tick(Engine& engine)
{
    int32_t n;
    {
        std::lock_guard lock(m_mutex);
        n = m_keepAlive++;
    }
    engine.queueFrame(0x9D01, n);
    return n;
}

int ScriptedModel::hellos() const
{
    std::lock_guard lock(m_mutex);
    return m_hellos;
}

void ScriptedModel::onOpen(Engine&)
{
    std::lock_guard lock(m_mutex);
    m_answered = false;
}

void ScriptedModel::onWrite(Engine& engine, const Frame& frame)
{
    if (frame.command != 0x1101)
        return;
    if (frame.data == 0) { // asked to greet again
        engine.queueFrame(0x1101, 1);
        return;
    }
    std::vector<Report> out;
    {
        std::lock_guard lock(m_mutex);
        ++m_hellos;
        if (m_answered)
            return;
        m_answered = true;
        const size_t n = std::min(m_stopAfter, m_burst.size());
        out.assign(m_burst.begin(), m_burst.begin() + static_cast<std::ptrdiff_t>(n));
    }
    for (const Report& r : out)
        engine.queueReport(r);
}

std::shared_ptr<ScriptedModel> makeModel(const std::string& name)
{
    if (name == "A")
        return std::make_shared<SlotModel>(modelASheet());
    if (name == "B")
        return std::make_shared<SlotModel>(modelBSheet());
    if (name == "C")
        return std::make_shared<SlotModel>(modelCSheet());
    if (name == "mirel1")
        return std::make_shared<SlotModel>(mirel1Sheet());
    if (name == "five")
        return std::make_shared<SlotModel>(fiveSlotSheet());
    if (name == "ten")
        return std::make_shared<SlotModel>(tenSlotSheet());
    if (name == "unknown")
        return std::make_shared<ScriptedModel>(unknownBurst());
    return nullptr;
}

} // namespace sim
