#pragma once

#include <QByteArray>
#include <QtGlobal>

// Numbers of the HART 5 protocol that both ends of the link share.
namespace hart {

// Command numbers of the universal and common-practice commands.
namespace command {
constexpr quint8 ReadUniqueIdentifier = 0;
constexpr quint8 ReadPrimaryVariable = 1;
constexpr quint8 ReadLoopCurrentAndPercent = 2;
constexpr quint8 ReadDynamicVariables = 3;
constexpr quint8 WritePollingAddress = 6;
constexpr quint8 ReadUniqueIdentifierByTag = 11;
constexpr quint8 ReadMessage = 12;
constexpr quint8 ReadTagDescriptorDate = 13;
constexpr quint8 ReadSensorInformation = 14;
constexpr quint8 ReadOutputInformation = 15;
constexpr quint8 ReadFinalAssemblyNumber = 16;
constexpr quint8 WriteMessage = 17;
constexpr quint8 WriteTagDescriptorDate = 18;
constexpr quint8 WriteFinalAssemblyNumber = 19;
constexpr quint8 ReadDeviceVariables = 33;
constexpr quint8 WriteDamping = 34;
constexpr quint8 WriteRangeValues = 35;
constexpr quint8 SetUpperRangeValue = 36;
constexpr quint8 SetLowerRangeValue = 37;
constexpr quint8 ResetConfigurationChanged = 38;
constexpr quint8 EnterExitFixedCurrent = 40;
constexpr quint8 PerformSelfTest = 41;
constexpr quint8 PerformDeviceReset = 42;
constexpr quint8 SetPrimaryVariableZero = 43;
constexpr quint8 WritePrimaryVariableUnits = 44;
constexpr quint8 TrimLoopCurrentZero = 45;
constexpr quint8 TrimLoopCurrentGain = 46;
constexpr quint8 WriteTransferFunction = 47;
constexpr quint8 ReadAdditionalStatus = 48;
constexpr quint8 WriteSensorSerialNumber = 49;
constexpr quint8 ReadDynamicVariableAssignments = 50;
constexpr quint8 WriteDeviceVariableUnits = 53;
constexpr quint8 WriteResponsePreambles = 59;
} // namespace command

// First status byte of a response when bit 7 is clear.
namespace response {
constexpr quint8 Success = 0;
constexpr quint8 InvalidSelection = 2;
constexpr quint8 TooLarge = 3;
constexpr quint8 TooSmall = 4;
constexpr quint8 TooFewDataBytes = 5;
constexpr quint8 DeviceSpecificError = 6;
constexpr quint8 WriteProtected = 7;
constexpr quint8 SetToNearest = 8;       // warning: value adjusted and accepted
constexpr quint8 LowerRangeTooHigh = 9;  // also: applied pressure too high, wrong current mode
constexpr quint8 LowerRangeTooLow = 10;  // also: applied pressure too low
constexpr quint8 UpperRangeTooHigh = 11; // also: in multidrop mode
constexpr quint8 UpperRangeTooLow = 12;  // also: invalid units code
constexpr quint8 BothRangeValuesOutside = 13;
constexpr quint8 SpanTooSmall = 14; // warning: value accepted
constexpr quint8 AccessRestricted = 16;
constexpr quint8 InvalidSpan = 29;
constexpr quint8 Busy = 32;
// A gateway's answer for a device it cannot reach: nobody is at that address.
constexpr quint8 DelayedResponseDead = 35;
constexpr quint8 CommandNotImplemented = 64;
} // namespace response

// First status byte of a response when bit 7 is set: what went wrong on the wire.
namespace commerror {
constexpr quint8 Flag = 0x80;
constexpr quint8 Parity = 0x40;
constexpr quint8 Overrun = 0x20;
constexpr quint8 Framing = 0x10;
constexpr quint8 Checksum = 0x08;
constexpr quint8 BufferOverflow = 0x02;
constexpr quint8 Undefined = 0x01;
constexpr quint8 AllBits = 0x7F;
} // namespace commerror

// Second status byte of a response.
namespace status {
constexpr quint8 DeviceMalfunction = 0x80;
constexpr quint8 ConfigurationChanged = 0x40;
constexpr quint8 ColdStart = 0x20;
constexpr quint8 MoreStatusAvailable = 0x10;
constexpr quint8 OutputFixed = 0x08;
constexpr quint8 OutputSaturated = 0x04;
constexpr quint8 NonPrimaryOutOfLimits = 0x02;
constexpr quint8 PrimaryOutOfLimits = 0x01;
} // namespace status

namespace unit {
constexpr quint8 InH2O = 1;
constexpr quint8 InHg = 2;
constexpr quint8 FtH2O = 3;
constexpr quint8 MmH2O = 4;
constexpr quint8 MmHg = 5;
constexpr quint8 Psi = 6;
constexpr quint8 Bar = 7;
constexpr quint8 Mbar = 8;
constexpr quint8 GramPerCm2 = 9;
constexpr quint8 KiloGramPerCm2 = 10;
constexpr quint8 Pascal = 11;
constexpr quint8 KiloPascal = 12;
constexpr quint8 Torr = 13;
constexpr quint8 Atmosphere = 14;
constexpr quint8 DegC = 32;
constexpr quint8 DegF = 33;
constexpr quint8 Kelvin = 35;
constexpr quint8 MilliAmpere = 39;
constexpr quint8 Seconds = 51;
constexpr quint8 Percent = 57;
constexpr quint8 MegaPascal = 237;
constexpr quint8 Special = 253;
constexpr quint8 NotUsed = 250;
} // namespace unit

// Frames carry at most this many data bytes (the byte count is one byte).
constexpr int MaxDataBytes = 255;
constexpr int MinPreambles = 2;
constexpr int MaxPreambles = 20;
constexpr int DefaultPreambles = 5;
constexpr quint8 Preamble = 0xFF;

// What one command answers: response code and the data after the two status bytes.
struct CommandReply
{
    quint8 code = response::Success;
    QByteArray data;
};

} // namespace hart
