// The settings file: the input is its content at start-up. Whatever it
// holds, the record the program reads is written back whole (seventeen keys)
// and the next start reads the same record.

#include <QJsonDocument>
#include <QJsonObject>

#include "support.h"
#include "store/settings.h"

namespace {

bool same(const SysSetInfo& a, const SysSetInfo& b)
{
    return a.Language == b.Language && a.EQ_save_file_path == b.EQ_save_file_path
        && a.Auto_run == b.Auto_run && a.Auto_save == b.Auto_save
        && a.CloseBehavior == b.CloseBehavior && a.Filtered_FR_alignment == b.Filtered_FR_alignment
        && a.High_sampling_rate_mute == b.High_sampling_rate_mute && a.Target_Mark == b.Target_Mark
        && a.Source_Mark == b.Source_Mark && a.Each_Mark == b.Each_Mark
        && a.Combined_Mark == b.Combined_Mark && a.Filtered_Mark == b.Filtered_Mark
        && a.Raw_Mark == b.Raw_Mark && a.Pre_select_tar_index == b.Pre_select_tar_index
        && a.Pre_select_fre_index == b.Pre_select_fre_index
        && a.QuorvelVesk_version == b.QuorvelVesk_version && a.FollowPre == b.FollowPre;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = fuzz::bytes(data, size);
    fuzz::putFile(settingsFilePath(), content);
    sysSetValue = SysSetInfo {};
    config_Init();
    const SysSetInfo read = sysSetValue;

    // A file that is not JSON leaves the record as it was: all zero here.
    QJsonParseError error;
    QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        FUZZ_CHECK(same(read, SysSetInfo {}));

    Config_update();
    QJsonParseError writtenError;
    const QJsonDocument written
        = QJsonDocument::fromJson(fuzz::fileBytes(settingsFilePath()), &writtenError);
    FUZZ_CHECK(writtenError.error == QJsonParseError::NoError && written.isObject());
    FUZZ_CHECK(written.object().size() == 17);

    sysSetValue = SysSetInfo {};
    config_Init();
    FUZZ_CHECK(same(sysSetValue, read));
    return 0;
}
