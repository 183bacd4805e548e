# Writes the shipped presets into a C++ source: every byte of each file as a \xNN escape, so
# that no text in a preset can end or change the string.
#   -DOUT=file.cpp -DDIR=folder -DNAMES=a;b;c   (NAMES in the order --sim list shows them)
set(body "")
foreach(name IN LISTS NAMES)
  file(READ "${DIR}/${name}.sim" bytes HEX)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${bytes}")
  string(APPEND body "        {\"${name}\", \"${escaped}\"},\n")
endforeach()
file(WRITE "${OUT}.new"
"// Generated from samples/sim/*.sim by embed_presets.cmake; edit the preset files instead.
#include \"sim_preset.h\"

const std::vector<ShippedPreset>& sim_shipped_presets() {
    static const std::vector<ShippedPreset> presets{
${body}    };
    return presets;
}
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
