#pragma once

// The file transfer with the PC: the mode command, imported files (a head,
// then chunks) and the export of reports, parameter backups and calibration
// files.
//
// Names from the network are checked before they touch the file system and
// never reach a shell; no import or export follows a link out of the
// application's folder and the transfer's roots. Each works in a folder held
// open (checked where it lies, never reached through a link in its place) and
// takes every name relative to it, so a folder swapped for a link later leads
// nowhere. An imported file is written under a hidden temporary ("." + name +
// ".part", made new, never through a name that is there) in its folder and
// renamed over the old file once exactly the announced size came (a
// parameter file at "SEND_END"), so a file cut short, a failed write or a
// planted link leaves the old file.

#include "zobase_mytype.h"

#include <QString>

// Where the transfer reads and writes; taken at each call.
struct NetFileRoots
{
    QString dataRoot;          // reports and parameter backups
    QString calibrationRoot;   // the application root ("dat", "dat/temp")
};

// Modes of the transfer (the PC's byte; other values are kept, unused).
enum net_file_mode : int {
    NET_FILE_MODE_IDLE = 0,
    NET_FILE_MODE_EXPORT_REPORT = 1,
    NET_FILE_MODE_EXPORT_PARAMETERS = 2,
    NET_FILE_MODE_EXPORT_CALIBRATION = 3,
    NET_FILE_MODE_IMPORT_REPORT = 4,
    NET_FILE_MODE_IMPORT_PARAMETERS = 5,
    NET_FILE_MODE_IMPORT_CALIBRATION = 6,
};

constexpr int NET_FILE_MODULE_MAX = 31;   // bytes of a module folder name

// A plain file name: the data root's rule (not empty, no "/", "\\", "..",
// no leading "."), valid UTF-8 and no control characters.
bool net_file_plain_name(const char* name);
// Whether an imported name may be used in the mode: mode 6 one plain name;
// mode 5 "<module>/<plain name>" (module plain, at most 31 bytes); other
// modes either form.
bool net_file_import_name_valid(int mode, const char* name);

// Receive thread. The mode command: taken only while the mode is 0; mode 6
// first clears the calibration staging folder. 0 or -1.
int net_file_command(u8 mode);
// An import head: "SEND_END" sets the mode to 0. A file still short of its
// announced size at the next head or "SEND_END" is dropped (the old one
// stays) and that head answered -1. A file announced larger than any of its
// kind (calibration file in mode 6, report in mode 4, else parameter file)
// is refused. In mode 6 "SEND_END" runs the calibration check and then the
// loader, and answers once the loader returned; after a file of the import
// was cut short or refused, or when the check or the loader fails, it
// answers -1, loads nothing and clears the staging folder. In the other
// modes a parameter file (a name ending in ".xml", in any case) stays under
// its temporary until "SEND_END", which stores the import's parameter files
// together when each parses within a parameter file's bounds, else none
// (answered -1; so too when the connection ended after they came). 0 or -1.
int net_file_head(const char* name, u32 fileSize, const NetFileRoots& roots);
// An import chunk of at most 1024 bytes (0: nothing written); the one that
// brings the announced size completes the file, one beyond it drops the
// file. 0 or -1.
int net_file_data(const u8* data, u32 length);
// The connection ended: a pending file is abandoned (temporary removed).
void net_file_connection_ended();
// Removes temporaries left in the import folders and by report saves
// (service start); an import pending is forgotten.
void net_file_remove_leftovers(const NetFileRoots& roots);
// Called by "SEND_END" in mode 6 (receive thread): loads the staged files
// whole, or nothing (false); returns once they are in use.
void net_file_set_calibration_loader(bool (*loader)());
// Called by "SEND_END" in mode 6 before the loader (receive thread): whether
// the staged files can be loaded whole. None set: they can.
void net_file_set_calibration_check(bool (*check)());

// Export thread: sends the files of the mode (1..3) as heads and chunks,
// then "KS_END" with the number of files sent; stops at the first failed
// send. Temporaries of saves and imports are not sent, nor links, nor
// anything but regular files, nor what an import would refuse (a name that
// does not fit the head's field whole or is no plain name, a file larger
// than any of its kind: one log line names each, once). The mode, if still
// the export's, is set to 0 before "KS_END" is sent or the export stops.
// Returns the number of files sent, or -1 when a send failed.
using NetFileSend = int (*)(const u8* frame, u32 length);
int net_export_files(int mode, const NetFileRoots& roots, NetFileSend send, int chunkDelayMs = 10);
// Tests: called with each listed file's name just before the export opens it.
void net_file_set_export_open_hook(void (*hook)(const char* name));
