#include "device/device_state.h"

#include "app/window_texts.h"

StatusBarInfo status_bar_value;

int32_t hid_status = 0;
int32_t config_connect_status = 0;

bool Gain_flag = false;
bool execute_biaozhi = false;
bool Mirel1_Sign = false;
bool Ostra2_Sign = false;
bool Vantor3_flag = true;
bool Device_EQ_sign = false;
int32_t upload_sign = 0;
bool send_biaozhi = false;
int32_t Silent_Sign = -1;
int32_t standby_state = 0;
int32_t MCU_Switch_Config_Index = -1;
int32_t device_config_num = 0;
int32_t biaozhi_i = 0;
double tem_software = 0.0;
uint32_t send_ui_biao = 0;
uint32_t tem_ui_biao = 0;
int32_t ui_biao_count = 0;

int32_t device_data_words[kDeviceWords] = {};
int32_t device_data_words_lr[kDeviceWordsLr] = {};

QList<uint8_t> intMatrix_global_status(kStagedRecords, 0);
QList<uint8_t> intMatrix_global_statusR(kStagedRecords, 0);
QList<double> intMatrix_global_gain(kStagedRecords, 0.0);
QList<double> intMatrix_global_gainR(kStagedRecords, 0.0);

namespace {
QList<QList<uint8_t>> byteMatrix()
{
    return QList<QList<uint8_t>>(kStagedRecords, QList<uint8_t>(kStagedBands, 0));
}
QList<QList<double>> doubleMatrix()
{
    return QList<QList<double>>(kStagedRecords, QList<double>(kStagedBands, 0.0));
}
} // namespace

QList<QList<uint8_t>> intMatrix_status = byteMatrix();
QList<QList<uint8_t>> intMatrix_statusR = byteMatrix();
QList<QList<uint8_t>> intMatrix_type = byteMatrix();
QList<QList<uint8_t>> intMatrix_typeR = byteMatrix();
QList<QList<double>> intMatrix_F = doubleMatrix();
QList<QList<double>> intMatrix_FR = doubleMatrix();
QList<QList<double>> intMatrix = doubleMatrix();
QList<QList<double>> intMatrix_R = doubleMatrix();
QList<QList<double>> intMatrix_Q = doubleMatrix();
QList<QList<double>> intMatrix_QR = doubleMatrix();

void resetSearchState(int language)
{
    if (const StatusTexts* t = statusTexts(language))
        status_bar_value.connect_state = t->disconnected;
    hid_status = 0;
    config_connect_status = 0;
}
