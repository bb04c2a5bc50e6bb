# Prints the size of a built file, so every build shows what the player downloads.
file(SIZE "${FILE}" qm_size)
math(EXPR qm_kib "${qm_size} / 1024")
get_filename_component(qm_name "${FILE}" NAME)
message(STATUS "${qm_name}: ${qm_size} bytes (${qm_kib} KiB)")
