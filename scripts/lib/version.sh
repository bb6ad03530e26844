# Sourced by the release scripts and their tests: the project's version, from
# the one place that names it, the project() line of CMakeLists.txt.
# Usage: project_version <CMakeLists.txt   (prints nothing where there is none)
project_version() {
    sed -n 's/^project(Quorvel VERSION \([0-9][0-9.]*\)[ )].*/\1/p'
}
