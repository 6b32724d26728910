#pragma once
// The names of the message catalog's entries. Plain entries have their wording
// in MessageTexts.cpp; MsgManualPreviewInstructions, MsgImgExists and
// MsgImgExists2 are joined by the catalog at fill time.

namespace veldra {

#define VELDRA_MESSAGE_IDS(X) \
    X(MsgIntegrationStarted) \
    X(MsgIntegrationComplete) \
    X(MsgIntegrationReady) \
    X(MsgDriveNotAllowed) \
    X(MsgConfirmRemoveMapset) \
    X(MsgTypeFileChanged) \
    X(MsgBackupCreated) \
    X(MsgMapsetNameLocked) \
    X(MsgTileInProgramFolder) \
    X(MsgNoAdminRights) \
    X(MsgReadingTile) \
    X(MsgMapNameChanged) \
    X(MsgAskGmapInstallation) \
    X(MsgShowTileNamesFirst) \
    X(MsgDrawPriorityAllListed) \
    X(CaptionUseNewName) \
    X(MsgDrawPriorityChangedFor) \
    X(MsgFilesSuffix) \
    X(CaptionTypeNewName) \
    X(MsgRegistryKeysCompatible) \
    X(MsgNotForGmpMapsets) \
    X(MsgNoGmpMapsets) \
    X(MsgFolderPrefix) \
    X(MsgFolderMissingMustCreate) \
    X(MsgFolderMissingWillCreate) \
    X(MsgThereAre) \
    X(MsgFilesProcessedComplete) \
    X(MsgInfoXmlBak) \
    X(MsgOsVersionUnidentified) \
    X(MsgGmapsuppFilesListed) \
    X(MsgSplitFolderExists) \
    X(TextOs64) \
    X(TextOs32) \
    X(MsgAskOs64) \
    X(MsgGmapsuppNoFid) \
    X(TextDoubleClickToDelete) \
    X(MsgWorkingOnFile) \
    X(MsgFilesCompleteWorkingOn) \
    X(MsgClearTileCachePrefix) \
    X(MsgInUseDelete) \
    X(CaptionClearTileCache) \
    X(MsgNoSpecialCharacters) \
    X(MsgIdExists) \
    X(MsgNameExists) \
    X(MsgPreviewFailed) \
    X(MsgFileExists) \
    X(TipDoubleClickRemoves) \
    X(TipSelectionModes) \
    X(TipExportImport) \
    X(MsgCgpsmapper97cMissing) \
    X(MsgRestartAfterCgpsmapper) \
    X(MsgNoTypeFileContinue) \
    X(MsgNoTypeFileInUse) \
    X(MsgNoTypeFileSelected) \
    X(MsgMissingKey) \
    X(MsgCanRepair) \
    X(MsgMissingKeysRepair) \
    X(MsgWrongTileName) \
    X(MsgCloseHostFirst) \
    X(MsgTdbValueMissing) \
    X(MsgDuplicateId) \
    X(MsgTypeFileDeleted) \
    X(MsgNoFileChosen) \
    X(MsgRegistryWriteFailed) \
    X(MsgTypeFileSameName) \
    X(MsgIdenticalId) \
    X(MsgSendgMissing) \
    X(MsgCgpsmapperNotInFolder) \
    X(MsgTdbFromGmapsuppFailed) \
    X(MsgGmapsuppPathDots) \
    X(MsgGmapsuppPathChars) \
    X(MsgGmapsuppExtractFailed) \
    X(MsgCgpsmapperRetry97c) \
    X(MsgTdbCreationFailed) \
    X(MsgGmtMissing) \
    X(MsgAskKeepGmapsuppFid) \
    X(MsgPreviewLocked) \
    X(MsgCpreviewMissing) \
    X(MsgProgramFilesMissing) \
    X(MsgExistingRegistered) \
    X(MsgExistingFileMissing) \
    X(MsgExistingTdbInvalid) \
    X(MsgExistingPreviewInvalid) \
    X(MsgExistingTypInvalid) \
    X(MsgExistingIdxInvalid) \
    X(MsgExistingMdrInvalid) \
    X(MsgExistingTrfInvalid) \
    X(MsgExistingIdNotNumeric) \
    X(MsgTdbAlreadyRegistered) \
    X(MsgNotADeviceImage) \
    X(MsgNothingChanged) \
    X(MsgAnswerWithYesOrNo) \
    X(MsgNameForbiddenCharacters) \
    X(MsgNameTooLong) \
    X(MsgOs64SettingDiffers) \
    X(MsgFidInUse) \
    X(MsgFidNotPositive) \
    X(MsgFidChangeUndone) \
    X(MsgFidRestoreFailed) \
    X(MsgManualPreviewInstructions) \
    X(MsgImgExists) \
    X(MsgImgExists2) \
    X(MsgGmapFoldersExplanation) \
    X(CaptionShowLatitude) \
    X(CaptionSetLatitude) \
    X(CaptionLatitudeLeastDistortion) \
    X(MsgLatitudeExplanation) \
    X(MsgLatitudeOutOfRange) \
    X(MsgAskAutomaticLatitude) \
    X(MsgWrongPid) \
    X(MsgWrongFid) \
    X(MsgNoLatitudeStored) \
    X(MsgAskSetSuggestedLatitude) \
    X(MsgExportDoneFirst) \
    X(MsgExportDoneSecond) \
    X(MsgImportStart) \
    X(CaptionChooseImportFolder) \
    X(CaptionChooseImportDestination) \
    X(MsgAskAllUsers) \
    X(MsgMapCopied) \
    X(MsgOfferMapSource) \
    X(MsgExportInfoXmlDamaged) \
    X(MsgWrongFolder) \
    X(MsgImportInfoXmlDamaged) \
    X(MsgMissingFilePrefix) \
    X(MsgFilePrefix) \
    X(MsgMapPrefix) \
    X(MsgAskExportSuffix) \
    X(MsgFolderCopyFailed) \
    X(CaptionErrorMessage) \

enum class Msg {
#define VELDRA_MESSAGE_ENUM(name) name,
    VELDRA_MESSAGE_IDS(VELDRA_MESSAGE_ENUM)
#undef VELDRA_MESSAGE_ENUM
    Count
};

}  // namespace veldra
