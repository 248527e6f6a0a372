#pragma once

// The seam between the network threads' modules and the Qt side of the
// service: the threads call these free functions; they reach NetServiceBase
// or write the segments.
//
// The test-control commands and the parameter records reach NetServiceBase
// once it exists (without it, as in the frame layer's own tests, they are
// only recorded). The file transfer (zocmn_net_file_transfer) works while the
// threads run, and is recorded otherwise. The callers already check sub-ids
// and sizes.

#include "zobase_mytype.h"

#include <QStringList>

// Start-up: attaches the nine segments (on a failure removes the service's
// keys, waits 100 ms and tries once more), clears what a killed process may
// have left in their headers and writes the machine defaults. 0 or -1.
int netCtrlInit();

// The device identity into the machine segment's assembly part (Qt side).
struct NetDeviceAssemblyInfo
{
    u8 device_guid[32];
    u8 device_code[16];
    u8 device_kind[16];
    u8 device_date[16];
    u32 device_version[16];
};
int netCtrl_SetDeviceAssemblyInfoToNet(const NetDeviceAssemblyInfo& info);

// ---- The network threads (GUI thread) ------------------------------------------
// Why a start failed: the port that could not be used ("TCP 10901") and the
// system's reason, or both empty when no port was at fault.
struct NetServiceStartFailure
{
    QString port;
    QString reason;
};
// Prepares the start, binds the service's TCP and UDP ports (held until the
// stop) and creates the threads receive, push, export, beacon, listener; 0,
// or -1 when a port could not be bound (no thread started) or a thread could
// not be created (then both enables are cleared and the threads made so far
// joined).
int netCtrl_StartNetService(NetServiceStartFailure* failure = nullptr);
// Clears the remote test state, disables the threads and joins them in the
// same order (within about 2 s: the listener's wait). 0.
int netCtrl_StopNetService();
// Whether the threads run (started and not yet joined).
bool netCtrl_NetServiceRunning();

// ---- Commands from the PC (receive thread) ----------------------------------
int netCtrl_SetBOState(u32 mask, u32 states);
int netCtrl_SetTestStart();
int netCtrl_SetTestStop();
int netCtrl_SetTestSwitch();
int netCtrl_SetManualTrigger();
int netCtrl_GetBIBOState();
int netCtrl_ClearSettingParameter();
// Record and change mark of the procedure and result segments cleared, under
// the client lock (the rest of the segments, the lock flags included, stays).
void netCtrl_ClearPushedRecords();
// Parameter records: `length` is the record's exact size (checked by the
// caller). 0 taken (or ignored as the protocol has it), -1 refused.
int netCtrl_SetAlternatParameter(const u8* record, u32 length);
int netCtrl_SetStateSquenceParameter(const u8* record, u32 length);
int netCtrl_SetHarmonicParameter(const u8* record, u32 length);
int netCtrl_SetSimpleRampingParameter(const u8* record, u32 length);
// File transfer (the PC's mode choice, an imported file's head and chunks).
int netCtrl_TransferFileCommand(u8 fileType);
int netCtrl_TransferFileHead(const char* name, u32 fileSize);
int netCtrl_TransferFileData(const u8* data, u32 length);

// Paths for the file transfer: the data root (the SD card only while it is
// mounted, else the application root); the buffer forms copy it as UTF-8 and
// return 0, or -1 (nothing copied) when it does not fit with its NUL.
bool netCtrl_checkSDCardExist();
QString netCtrl_getRootPathStr();
int netCtrl_getRootPath(char* buffer, int size);
int netCtrl_getCalCoeRootPath(char* buffer, int size);

// The stand-ins' record: one line per call ("name arg ..."), in order.
QStringList netCtrl_recordedCalls();
void netCtrl_clearRecordedCalls();

// ---- Publication into the segments (GUI thread) -------------------------------
// Each takes the client lock; when it times out the publication is retried
// on a short timer, a newer one for the same segment replacing it.
void netCtrl_updateBIState(u32 word);
void netCtrl_updateBOState(u32 word);
void netCtrl_updateRunningEnable(u32 value);
// A record for the procedure or result segment (a type of
// share_testing_result_type / share_simple_testing_result_type).
void netCtrl_updateProcedure(u32 dataType, const u8* record, u32 length);
// Result (trigger) records queue until the push side took the previous one
// (at most 64, the oldest dropped; with no PC connected only the latest).
void netCtrl_updateResult(u32 dataType, const u8* record, u32 length);
