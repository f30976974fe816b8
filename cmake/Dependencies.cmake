# Imported targets for the dependencies that tools/bootstrap.sh builds into VEXO_DEPS_DIR.
find_package(GTest CONFIG REQUIRED)
