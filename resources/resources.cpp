// Holds the compiled resources; the files themselves are listed in CMakeLists.txt.
