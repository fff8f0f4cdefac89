# find_package(MivoraCur) gives the imported target MivoraCur::MivoraCur.
include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Widgets)
include(${CMAKE_CURRENT_LIST_DIR}/MivoraCurTargets.cmake)
