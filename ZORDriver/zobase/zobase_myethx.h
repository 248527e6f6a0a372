#pragma once

// Ethernet interface settings. ethx is the interface name (at most 15
// characters are used); addr is the caller's text buffer (at least 18 bytes
// for the MAC, 16 for an address).

int _my_get_ethx_mac(const char* ethx, char* addr);    // "%02X:..:%02X"; 0 or -1
int _my_get_ethx_ip(const char* ethx, char* addr);     // dotted IPv4; 0 or -1
int _my_get_ethx_mask(const char* ethx, char* addr);   // dotted IPv4; 0 or -1
// Default gateway of ethx from "ip route"; 0, or -1 (addr unchanged).
int _my_get_ethx_gate(const char* ethx, char* addr);
// Replaces the "address" line of ethx's static stanza in
// "/etc/network/interfaces" (a device path) with the dotted IPv4 text addr.
// The file is replaced atomically; on -1 the old file is left as it was.
int _my_set_ethx_ip(const char* ethx, const char* addr);
int _my_set_ethx_mask(const char* ethx, const char* addr);   // not supported: -1
int _my_set_ethx_gate(const char* ethx, const char* addr);   // not supported: -1
