// ViewBaseModel: its enumerations tied to the engine's at compile time.
//
// The view model declares its own copies of the engine's enumerations (QML
// sees them through Q_ENUM) and exchanges their values with the engine by
// cast: notices, test types, state and alarm indexes, ports, ramp and trigger
// settings, calibration kinds, configuration choices. Every value that
// crosses is checked here against the engine's declaration. Not tied, by
// design: the clock source (the view stores its own IRIG-B value 1, the
// configuration names it 2), the low-storage alarm (the view's own, 15), and
// the view-only item, binary-input state, battery, suspend and file-manager
// enumerations. The distance entity's trigger enumeration is its own.

#include "ViewBaseModel.h"

#include "ControllerConfiguration.h"
#include "ControllerRuntime.h"
#include "ControllerTestor.h"
#include "ModelCalibrationEntity.h"
#include "ModelEntityCommon.h"

namespace {

using V = ViewBaseModel;

// The view's value `name` is the engine's (in scope `engine`).
#define ZOR_TIED(engine, name) static_assert(int(V::name) == int(engine::name), #name " differs from " #engine)
// The same value under another name.
#define ZOR_TIED_AS(engine, viewName, engineName)                                                                      \
    static_assert(int(V::viewName) == int(engine::engineName), #viewName " differs from " #engine "::" #engineName)

// Notices of the runtime store (sigUpdateDataToView).
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_BO);
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_BI);
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_ALARM);
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_STATE);
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_TEMP);
ZOR_TIED(ControllerRuntime, DATA_TYPE_RT_BATTERY);
ZOR_TIED(ControllerRuntime, DATA_TYPE_TEST_OUTPUTVI);
ZOR_TIED(ControllerRuntime, DATA_TYPE_TEST_OUTPUTPQ);
ZOR_TIED(ControllerRuntime, DATA_TYPE_TEST_OUTPUTDATA);
ZOR_TIED(ControllerRuntime, DATA_TYPE_TEST_ACTIONDATA);
ZOR_TIED(ControllerRuntime, DATA_TYPE_SYSTEM_CONFIG);
ZOR_TIED(ControllerRuntime, DATA_TYPE_SYSTEM_CAL);
ZOR_TIED(ControllerRuntime, DATA_TYPE_CLOCK_STATE);

// Indexes of the runtime store's STATE and ALARM arrays.
ZOR_TIED(ControllerRuntime, STATE_TYPE_INIT);
ZOR_TIED(ControllerRuntime, STATE_TYPE_RUNNING);
ZOR_TIED(ControllerRuntime, STATE_TYPE_OUTPUTTED);
ZOR_TIED(ControllerRuntime, STATE_TYPE_CONNECTED);
ZOR_TIED(ControllerRuntime, STATE_TYPE_POWERED);
ZOR_TIED(ControllerRuntime, STATE_TYPE_AUXDCV);
ZOR_TIED(ControllerRuntime, STATE_TYPE_UPGRADE);
ZOR_TIED(ControllerRuntime, STATE_TYPE_CALFINISH);
ZOR_TIED(ControllerRuntime, STATE_TYPE_CALLOADED);
ZOR_TIED(ControllerRuntime, STATE_TYPE_STATEINDEX);
ZOR_TIED(ControllerRuntime, STATE_TYPE_BATTERY_MOS);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PV_HIGH_INPUT);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PV_SHORT);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PV_OVER_TEMPERATURE);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_LV_HIGH_INPUT);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PIA_OPENED);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PIB_OPENED);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PIC_OPENED);
ZOR_TIED(ControllerRuntime, ALARM_TYPE_PIX_OPENED);

// The active module (testActive, getTestActiveType).
ZOR_TIED(ControllerTestor, TEST_NONE);
ZOR_TIED(ControllerTestor, TEST_CALIBRATION);
ZOR_TIED(ControllerTestor, TEST_MULTITEST);
ZOR_TIED(ControllerTestor, TEST_SEQUENCE);
ZOR_TIED(ControllerTestor, TEST_FAULTTEST);
ZOR_TIED(ControllerTestor, TEST_REMOTESIGNAL);
ZOR_TIED(ControllerTestor, TEST_ALTERNATE);
ZOR_TIED(ControllerTestor, TEST_HARMONIC);
ZOR_TIED(ControllerTestor, TEST_STATESEQUENCE);
ZOR_TIED(ControllerTestor, TEST_DISTANCE);
ZOR_TIED(ControllerTestor, TEST_RAMPING);
ZOR_TIED(ControllerTestor, TEST_OVERCURRENT);
ZOR_TIED(ControllerTestor, TEST_DIRECT);
ZOR_TIED(ControllerTestor, TEST_ENERGY);
ZOR_TIED(ControllerTestor, TEST_SLIP_FREQUENCY);
ZOR_TIED(ControllerTestor, TEST_SLIP_VOLTAGE);
ZOR_TIED(ControllerTestor, TEST_OSCILLATE);
ZOR_TIED(ControllerTestor, TEST_STDSOURCE);

// Ports: the order of every per-channel array the view model copies into an
// entity, and the channel it asks the output current of (the entities' ports
// are the driver record's, ModelEntityCommon.h).
ZOR_TIED(ModelEntity, AO_PORT_TYPE_UA);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_UB);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_UC);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_UX);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_IA);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_IB);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_IC);
ZOR_TIED(ModelEntity, AO_PORT_TYPE_IX);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UA);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UB);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UC);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UX);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UAUB);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UBUC);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UCUA);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_UAUBUC);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IA);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IB);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IC);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IX);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IAIB);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IBIC);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_ICIA);
ZOR_TIED(ModelEntity, RAMP_PORT_TYPE_IAIBIC);

// Ramp, trip and state settings written into the entities.
ZOR_TIED(ModelEntity, RAMP_ITEM_TYPE_RANGE);
ZOR_TIED(ModelEntity, RAMP_ITEM_TYPE_ANGLE);
ZOR_TIED(ModelEntity, RAMP_ITEM_TYPE_FREQUENCY);
ZOR_TIED(ModelEntity, ACTION_TYPE_STOP);
ZOR_TIED(ModelEntity, ACTION_TYPE_RETURN);
ZOR_TIED(ModelEntity, ACTION_TYPE_CONTINUE);
ZOR_TIED(ModelEntity, AO_TRIGGER_TYPE_TIME);
ZOR_TIED(ModelEntity, AO_TRIGGER_TYPE_BINARY);
ZOR_TIED(ModelEntity, AO_TRIGGER_TYPE_TIME_BINARY);
ZOR_TIED(ModelEntity, AO_TRIGGER_TYPE_KEY_PRESS);
ZOR_TIED_AS(ModelEntity, AO_TRIGGER_TYPE_GPS_IRIGB, AO_TRIGGER_TYPE_GPS);
ZOR_TIED(ModelEntity, AO_STATE_TYPE_INITING);
ZOR_TIED(ModelEntity, AO_STATE_TYPE_RUNNNING);
ZOR_TIED(ModelEntity, AO_STATE_TYPE_COMPLETED);
ZOR_TIED(ModelEntity, AO_LINKSTATE_TYPE_CONTINUE);
ZOR_TIED(ModelEntity, AO_LINKSTATE_TYPE_INITIATE);
ZOR_TIED(ModelEntity, AO_BILOGIC_TYPE_OR);
ZOR_TIED(ModelEntity, AO_BILOGIC_TYPE_AND);

// Calibration kinds (passed on unchanged, the view naming the first six).
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ALL);
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ACAMP);
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ACDCO);
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ACPHA);
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ACFRQ);
ZOR_TIED(ModelCalibrationEntity, CAL_TYPE_ACFAC);

// Configuration choices stored as they are chosen.
ZOR_TIED(ControllerConfiguration, PHASES_TYPE_THREE);
ZOR_TIED(ControllerConfiguration, PHASES_TYPE_FOUR);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_CHINESE);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_ENGLISH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_PORTUGUESE);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_RUSSIAN);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_JAPANESE);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_FREANCH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_GERMAN);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_ITALIAN);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_SPANISH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_POLISH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_KOREAN);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_CZECH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_SLOVAK);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_INDONESIAN);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_MALAY);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_TURKISH);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_VIETNAMESE);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_THAI);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_FARSI);
ZOR_TIED(ControllerConfiguration, LANGUAGE_TYPE_ARABIC);
ZOR_TIED(ControllerConfiguration, STYLE_TYPE_DEFAULT);
ZOR_TIED(ControllerConfiguration, STYLE_TYPE_BLACKLIGHT);
ZOR_TIED(ControllerConfiguration, CONFIG_TYPE_SOFTWARE_DATA);
ZOR_TIED(ControllerConfiguration, CONFIG_TYPE_HARDWARE_DATA);
ZOR_TIED(ControllerConfiguration, IN_TIME_PULSE);
ZOR_TIED(ControllerConfiguration, IN_EXTERNAL_PULSE);
ZOR_TIED(ControllerConfiguration, FALLING_EDGE);
ZOR_TIED(ControllerConfiguration, RAISING_EDGE);
ZOR_TIED(ControllerConfiguration, OUT_TIME_PULSE);
ZOR_TIED(ControllerConfiguration, OUT_PPS_PULSE_SECOND);
ZOR_TIED(ControllerConfiguration, OUT_PPS_PULSE_MINUTE);

#undef ZOR_TIED
#undef ZOR_TIED_AS

}   // namespace
