nimbulator_add_fuzzer(fuzz_chunk SOURCES ChunkFuzz.cpp LIBS synth_core)
nimbulator_add_fuzzer(fuzz_events SOURCES EventFuzz.cpp LIBS synth_core)
nimbulator_add_fuzzer(fuzz_parameters SOURCES ParameterFuzz.cpp LIBS synth_core)
