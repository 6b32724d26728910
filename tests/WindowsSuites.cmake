# The suites of a Windows build: Windows programs that CTest runs under Wine
# (the toolchain's emulator), one process per suite. Left out, by file:
# - what runs POSIX shell commands or the Linux `veldra` on a Wine prefix
#   (cli/, crash/, outside/, *WineTest, PrefixTestSupport users, the Wine
#   prefix backends' own tests: they test the prefix backends from Linux);
# - what needs POSIX calls or POSIX file semantics: symbolic links made by
#   the test, modes and owners (SecurityTest, MapsetRemovalTest), posix_spawn
#   (ConsoleRunnerTest, IntegrationDriverTest, ProcessOutputTest), Unix paths
#   as host paths, a Wine prefix laid out by the test (CheckTest).
set(veldra_posix_only_tests
  "HostPathsTest|PrefixDefaultTest|RegistryContractTest|SecurityTest|ShellTest|WineRegistryPrefixTest|WineServerProbeTest|ConfinedPathTest|[A-Za-z]*WineTest|MapsetRemovalTest|ConsoleRunnerTest|IntegrationDriverTest|CacheFoldersTest|ProcessOutputTest|CheckTest")

# Single tests left out, each for an assumption of POSIX in the test itself:
# - file names made of bytes that are no UTF-8 (Windows names are UTF-16);
# - the fake host of tests/support/FakeHost.h maps host paths the way a Wine
#   prefix does (forward slashes, a Z: drive), so texts with its paths differ;
# - narrow strings taken as UTF-8 paths (Windows reads them in the ANSI code page);
# - a name found in a different letter case (Windows finds it as written).
set(veldra_windows_test_filter_formats "--gtest_filter=-FileReadoutTest.DamagedFilesGiveAClearUtf8ErrorOrAFailedChecksum")
set(veldra_windows_test_filter_gmap "--gtest_filter=-GmapPackageScanTest.TdbTextsLeadingOutOfTheProductFolderMarkTheRecordAndNameNoFile:GmapPackageScanTest.OverlargeOrDamagedInfoXmlIsReportedAndTheScanGoesOn")
set(veldra_windows_test_filter_registration "--gtest_filter=-MapsetRenameTest.PackageIsRenamedInItsNameElementsAndTdbAndKeepsTheNameWithoutItsTdb:TileListingTest.TilesWithoutFileOrTreHeaderKeepTheirLineWithoutDrawPriority")
set(veldra_windows_test_filter_existing "--gtest_filter=-ExistingRegistrationTest.GmapPackageHoldsTheStampedFilesAndOneFolderPerTile:ExportLogFieldsTest.NamesAreReadInTheCodePage")
set(veldra_windows_test_filter_tasks "--gtest_filter=-ExportImportTasksTest.PackageImportLinksTheCopyUnlessItLandsInTheGmapFolderItself")

veldra_test_suite(win32 veldra_platform veldra_app)
veldra_test_suite(platform veldra_platform)
veldra_test_suite(app veldra_app)
veldra_test_suite(formats veldra_formats FIXTURE veldra_built_data)
veldra_test_suite(gmap veldra_gmap)
veldra_test_suite(registration veldra_registration FIXTURE veldra_built_data)
veldra_test_suite(existing veldra_existing FIXTURE veldra_built_data)
veldra_test_suite(tools veldra_tools veldra_tasks FIXTURE veldra_built_data)
veldra_test_suite(tasks veldra_tasks FIXTURE veldra_built_data)
veldra_test_suite(integration veldra_integration)

# java.exe in tests/java/bin: the Java that tools/windows-test.sh gives the
# Windows outside programs through JAVA_HOME (Wine has no Java for Windows).
add_executable(veldra_java_stand_in win32/java/JavaStandIn.cpp)
target_link_libraries(veldra_java_stand_in PRIVATE veldra_outside_common)
set_target_properties(veldra_java_stand_in PROPERTIES
  OUTPUT_NAME java
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/java/bin)
veldra_warnings(veldra_java_stand_in)
