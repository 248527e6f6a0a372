#pragma once

// Copy rules between the wire records and the segment records, field by
// field by name. Reads fill a zero-filled wire record; writes change only
// the segment fields the record carries.

#include "zocmm_testing_confer_records.h"
#include "zoshm_testing_share_handle_def.h"

// Machine records (the machine segment's record).
machine_hello_info cmm_machine_copy_shm2cmm_hello(const shm_machine_testing_mchset& m);
machine_assembly_info cmm_machine_copy_shm2cmm_assembly(const shm_machine_testing_mchset& m);
void cmm_machine_copy_cmm2shm_assembly(const machine_assembly_info& w, shm_machine_testing_mchset& m);
machine_assembly_info_ex cmm_machine_copy_shm2cmm_assembly_ex(const shm_machine_testing_mchset& m);
void cmm_machine_copy_cmm2shm_assembly_ex(const machine_assembly_info_ex& w, shm_machine_testing_mchset& m);
machine_network_info cmm_machine_copy_shm2cmm_network(const shm_machine_testing_mchset& m);
void cmm_machine_copy_cmm2shm_network(const machine_network_info& w, shm_machine_testing_mchset& m);
machine_network_info_ex cmm_machine_copy_shm2cmm_network_ex(const shm_machine_testing_mchset& m);
void cmm_machine_copy_cmm2shm_network_ex(const machine_network_info_ex& w, shm_machine_testing_mchset& m);

// Configuration writes: narrow wire integers widened; fields only the wire
// names are dropped (of the amplifier ports only rows 0 and 1 are kept).
void cmm_config_copy_cmm2shm_runset(const run_scheme_set& w, shm_run_scheme_set& s);
void cmm_config_copy_cmm2shm_lloset(const llo_signal_set& w, shm_llo_signal_set& s);
void cmm_config_copy_cmm2shm_paoset(const pao_signal_set& w, shm_pao_signal_set& s);
void cmm_config_copy_cmm2shm_clockset(const clock_signal_set& w, shm_clock_signal_set& s);
