# Sourced by the build scripts.
#   preset_build NAME [build options]
#                      configure and build the tree of the CMake preset NAME
#                      (CMakePresets.json), quietly unless something fails
preset_build() {
  local name=$1
  shift
  cmake --preset "$name" >/dev/null && cmake --build --preset "$name" "$@"
}
