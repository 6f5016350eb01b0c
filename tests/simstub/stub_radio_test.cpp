#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "StubClient.h"

namespace {

constexpr simconnect::Dword kGroup = 3;

class StubRadios : public StubClient {
 protected:
  void Send(const char* event) {
    const simconnect::Dword id = MapEvent(nextId_++, event);
    ASSERT_EQ(SimConnect_TransmitClientEvent(handle_, simconnect::kObjectIdUser, id, 0, kGroup, 0),
              0);
  }

  simconnect::Dword nextId_ = 0x80000002u;
};

struct Step {
  const char* event;
  const char* variable;
  double before;
  double after;
};

std::string Hex(double value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

TEST_F(StubRadios, TuningStepsWrapWithinTheirBandAndDigit) {
  for (const Step& step : {
           Step{"COM_RADIO_WHOLE_INC", "COM STANDBY FREQUENCY:1", 0x1800, 0x1900},
           Step{"COM_RADIO_WHOLE_INC", "COM STANDBY FREQUENCY:1", 0x3697, 0x1897},
           Step{"COM_RADIO_WHOLE_DEC", "COM STANDBY FREQUENCY:1", 0x1800, 0x3600},
           // 25 kHz channels: 118.025 keeps its hundredths, 02, and goes on to .050.
           Step{"COM_RADIO_FRACT_INC", "COM STANDBY FREQUENCY:1", 0x1800, 0x1802},
           Step{"COM_RADIO_FRACT_INC", "COM STANDBY FREQUENCY:1", 0x1802, 0x1805},
           Step{"COM_RADIO_FRACT_INC", "COM STANDBY FREQUENCY:1", 0x1897, 0x1800},
           Step{"COM_RADIO_FRACT_DEC", "COM STANDBY FREQUENCY:1", 0x1800, 0x1897},
           Step{"COM2_RADIO_FRACT_DEC", "COM STANDBY FREQUENCY:2", 0x2150, 0x2147},
           Step{"NAV1_RADIO_WHOLE_DEC", "NAV STANDBY FREQUENCY:1", 0x0800, 0x1700},
           Step{"NAV1_RADIO_FRACT_INC", "NAV STANDBY FREQUENCY:1", 0x1095, 0x1000},
           Step{"NAV2_RADIO_WHOLE_INC", "NAV STANDBY FREQUENCY:2", 0x1795, 0x0895},
           Step{"NAV2_RADIO_FRACT_DEC", "NAV STANDBY FREQUENCY:2", 0x1410, 0x1405},
           Step{"ADF1_WHOLE_INC", "ADF ACTIVE FREQUENCY:1", 0x03445000, 0x03455000},
           Step{"ADF1_WHOLE_INC", "ADF ACTIVE FREQUENCY:1", 0x17999000, 0x01909000},
           Step{"ADF1_WHOLE_DEC", "ADF ACTIVE FREQUENCY:1", 0x03000000, 0x02990000},
           Step{"ADF1_RADIO_TENTHS_INC", "ADF ACTIVE FREQUENCY:1", 0x03449000, 0x03440000},
           Step{"ADF1_RADIO_TENTHS_DEC", "ADF ACTIVE FREQUENCY:1", 0x03440000, 0x03449000},
           Step{"XPNDR_1000_INC", "TRANSPONDER CODE:1", 0x7777, 0x0777},
           Step{"XPNDR_100_DEC", "TRANSPONDER CODE:1", 0x1000, 0x1700},
           Step{"XPNDR_10_INC", "TRANSPONDER CODE:1", 0x1270, 0x1200},
           Step{"XPNDR_1_DEC", "TRANSPONDER CODE:1", 0x1200, 0x1207},
       }) {
    simstub::SetVariable(step.variable, step.before);
    Send(step.event);
    EXPECT_EQ(Hex(simstub::GetVariable(step.variable)), Hex(step.after))
        << step.event << " from " << Hex(step.before);
  }
}

TEST_F(StubRadios, SwapsExchangeActiveAndStandbyOfTheirOwnRadio) {
  EXPECT_EQ(simstub::GetVariable("COM ACTIVE FREQUENCY:1"), 0x2280) << "tuned at the start";
  EXPECT_EQ(simstub::GetVariable("COM STANDBY FREQUENCY:1"), 0x1800);
  Send("COM_STBY_RADIO_SWAP");
  EXPECT_EQ(simstub::GetVariable("COM ACTIVE FREQUENCY:1"), 0x1800);
  EXPECT_EQ(simstub::GetVariable("COM STANDBY FREQUENCY:1"), 0x2280);

  for (const char* radio : {"COM", "NAV"}) {
    const std::string active = std::string(radio) + " ACTIVE FREQUENCY:2";
    const std::string standby = std::string(radio) + " STANDBY FREQUENCY:2";
    simstub::SetVariable(active, 0x1111);
    simstub::SetVariable(standby, 0x2222);
    Send(radio == std::string("COM") ? "COM2_RADIO_SWAP" : "NAV2_RADIO_SWAP");
    EXPECT_EQ(simstub::GetVariable(active), 0x2222) << radio;
    EXPECT_EQ(simstub::GetVariable(standby), 0x1111) << radio;
  }
  EXPECT_EQ(simstub::GetVariable("COM ACTIVE FREQUENCY:1"), 0x1800) << "the other radios stay";
}

TEST_F(StubRadios, DmeReadsWhatIsSetInEveryRecord) {
  ASSERT_EQ(SimConnect_AddToDataDefinition(handle_, 7, "NAV1 DME", "nmiles",
                                           simconnect::kDataTypeFloat32, 0, 0),
            0);
  ASSERT_EQ(SimConnect_AddToDataDefinition(handle_, 7, "nav1 dmespeed", "Knots",
                                           simconnect::kDataTypeFloat32, 0, 1),
            0);
  ASSERT_EQ(SimConnect_RequestDataOnSimObject(handle_, 7, 7, simconnect::kObjectIdUser,
                                              simconnect::kPeriodSimFrame, 1, 0, 0, 0),
            0);
  simstub::SetVariable("nav1 dme", 12.34);
  simstub::SetVariable("NAV1 DMESPEED", 140);
  simstub::AdvanceFrames(3);
  const auto records = Dispatch();
  ASSERT_EQ(records.size(), 1u) << "sent once, then only on a change";
  EXPECT_EQ(records[0].DataValue<float>(0), 12.34f);
  EXPECT_EQ(records[0].DataValue<float>(1), 140.0f);
}

}  // namespace
