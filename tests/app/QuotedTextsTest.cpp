#include "app/MessageCatalog.h"

#include <gtest/gtest.h>

namespace veldra {
namespace {

using app::Msg;

struct QuotedText {
    Msg id;
    const char* english;
    const char* german;  // null where only the meaning is fixed
};

// Every text the description of the program quotes for a catalog entry, in
// both languages; where the catalog table leaves the German text open and a
// window's description quotes it, that quote is the one to hold.
constexpr QuotedText QuotedTexts[] = {
        {Msg::MsgIntegrationStarted, "integration is started. wait...", "Einbindung gestartet. bitte warten..."},
        {Msg::MsgIntegrationComplete, "Integration is complet. Start 'MapSource' again.", "Die Einbindung ist erfolgt. Starten Sie 'MapSource' neu."},
        {Msg::MsgIntegrationReady, "Integration is now ready for use. Start 'MapSource'again.", "Einbindung ist fertiggestellt. Starten Sie 'MapSource' neu."},
        {Msg::MsgDriveNotAllowed, " This drive is not allowed. Use a harddrive.", nullptr},
        {Msg::MsgConfirmRemoveMapset, "Are you sure to remove mapset ?", "Den Kartensatz wirklich aus Mapsource entfernen ?"},
        {Msg::MsgTypeFileChanged, "Typfile was changed. Start 'Mapsource' again.", "Das Typfile wurde geaendert. Starten Sie 'Mapsource' erneut, damit die Aenderungen wirksam werden."},
        {Msg::MsgBackupCreated, "VELDRA has created a backupfile  as file : ", "Es wurde eine Sicherheitskopie angelegt und gespeichert unter : "},
        {Msg::MsgMapsetNameLocked, "It is not allowed to change this mapsetname.", "Der Name dieses Kartensatzes darf nicht geändert werden."},
        {Msg::MsgTileInProgramFolder, "The img -file is stored in the same folder like VELDRA-SOFTWARE. This is not allowed. Move img-fil to other folder and start again.", "Das ausgewählte img-file befindet sich im selben Ordner wie das VELDRA-Programm. Das ist nicht zulässig. Verschieben Sie das img-file in einen anderen Ordner und waehlen Sie neu aus."},
        {Msg::MsgNoAdminRights, "You have not admin-rights. It is possible, that VELDRA cann't create registrykeys and integration will failed. Start again as admin.", "Sie verfügen nicht über Administratorenrechte. Das kann dazu führen, daß die erforderlichen Registryeinträge nicht erzeugt werden können und die Einbindung von Karten in 'Mapsource' scheitert. Sie sollten das Programm neu starten mit Admin-Rechten. Bei Antwort 'nein' wird die Programmausführung ohne Adminrechte fortgesetzt. Bei Antwort 'ja' das Programm beendet."},
        {Msg::MsgReadingTile, "reading maptile : ", nullptr},
        {Msg::MsgMapNameChanged, "Mapname was changed.", "Mapname wurde geändert."},
        {Msg::MsgAskGmapInstallation, "'Yes'craetes a gmap-installation, this is the prefered version. 'no' creates a traditionall registrykey.", "Soll die Karte als gmap-Installation erzeugt werden, gmap-Installationen laufen auch auf MAC-PC. Dies ist die Vorzugsvariante. ? Bei 'nein wird eine Installation mit Registryeintrag erzeugt."},
        {Msg::MsgShowTileNamesFirst, "to change drawpriority you must use at first button 'show maptilenames'", nullptr},
        {Msg::MsgDrawPriorityAllListed, "will change drawpriority for all files, which are listed.", nullptr},
        {Msg::CaptionUseNewName, "use new name", "Namen uebernehmen"},
        {Msg::MsgDrawPriorityChangedFor, "DrawPriority was changed for ", "Die DrawPriority wurde geaendert an "},
        {Msg::MsgFilesSuffix, " Files", nullptr},
        {Msg::CaptionTypeNewName, "type in new name", "neuen Namen eingeben"},
        {Msg::MsgRegistryKeysCompatible, "Incompatible registrykeys are not existing or such are compatible with MapSource V 6.14.1 now.", nullptr},
        {Msg::MsgNotForGmpMapsets, "This function is not available for gmp-mapsets.", nullptr},
        {Msg::MsgNoGmpMapsets, "no mapsets in gmp-format are existing.", "keine Karten im 'gmp'-Format vorhanden."},
        {Msg::MsgFolderPrefix, "Folder ", nullptr},
        {Msg::MsgFolderMissingMustCreate, " is not existing. You must create it, or VELDRA cannot work.", nullptr},
        {Msg::MsgFolderMissingWillCreate, "is not existing. VELDRA will try to create it. If the securityguideline do not allow this, you must create it by hand. ", nullptr},
        {Msg::MsgThereAre, "There are ", "Es wurden "},
        {Msg::MsgFilesProcessedComplete, " files processed. The generation of the mapset is complete.", " Files verarbeitet. Die Erzeugung des Kartensatzes ist abgeschlossen."},
        {Msg::MsgInfoXmlBak, " was renamed. 'BAK' was added at end of filename. To rebuilt the mapset, rename it back to 'Info.xml and Info_v2.xml", nullptr},
        {Msg::MsgOsVersionUnidentified, "veldra can not idendificate your os-version. Click 'yes' for 32 bit version und 'no' für 64 bit version.", nullptr},
        {Msg::MsgGmapsuppFilesListed, "files from gmapsupp was typed in the list. Click 'yes' to complet the action. Click 'no' for abort.", "Die in der gmapsupp enthaltenen Files wurden in die Liste eingetragen. Clicken Sie 'ja', um die gefundenen Files als Mapset zu verwenden. Clicken Sie 'nein' um abzubrechen."},
        {Msg::MsgSplitFolderExists, "Folder 'SplittMaps' already exists. I you proceed, it will overwrited. Continue anyway ?", "der Ordner 'SplittMaps' existiert schon. Falls sie fortfahren, wird dieser überschrieben.Trotzdem fortfahren ?"},
        {Msg::TextOs64, "operatingsystem is 64 bit", "Betriebssystem arbeitet mit 64 bit"},
        {Msg::TextOs32, "operatingsystem is 32 bit", "Betriebssystem arbeitet mit 32 bit"},
        {Msg::MsgAskOs64, "Which operatingsystem is istalled on this computer ? 'yes' for 64 bit, 'no' for 32 bit", "Wird dieser PC mit 64 bit Betriebssystem betrieben ? 'ja' für 64 bit, 'nein' für 32 bit"},
        {Msg::MsgGmapsuppNoFid, " gmapsupp does not contain any FID and mapsetname. Voz must determine this.", "In der gmapsupp ist keine FID und Kartenname enthalten. Legen sie diese selbst fest."},
        {Msg::TextDoubleClickToDelete, ". Doubleclick for delete", " Doppelclick zum loeschen"},
        {Msg::MsgWorkingOnFile, "working on file ", "bearbeite File "},
        {Msg::MsgFilesCompleteWorkingOn, " files complete. Working on ", " Files verarbeitet. Bearbeite "},
        {Msg::MsgClearTileCachePrefix, "clear BaseCamp TileCache : ", nullptr},
        {Msg::MsgInUseDelete, " in use -delete ?", nullptr},
        {Msg::CaptionClearTileCache, "clear BaseCamp TileCache", nullptr},
        {Msg::MsgNoSpecialCharacters, "The filename must not contain any special characters, use A-->Z, a-->z, 0-->9", "Filenamen dürfen keine Umlaute enthalten. Benutzen Sie A-->Z, a-->z, 0-->9"},
        {Msg::MsgIdExists, "ID-Nr. exists already.", "Diese ID-Nr. ist schon vergeben."},
        {Msg::MsgNameExists, "You must change minimum 1 character in letters 1- 8. Such name is already existing.", "Bitte aendern Sie wenigstens 1 Buchstaben der ersten 8 Zeichen des eingegebenen Names. Es besteht Verwechslungsgefahr."},
        {Msg::MsgPreviewFailed, "cgpsmapper can't create the preview -file. Integration to 'Mapsource' was not possible.", nullptr},
        {Msg::MsgFileExists, "File always exist.", "Datei schon vorhanden."},
        {Msg::TipDoubleClickRemoves, "'doubleclick' removes Mapset", "'Doppelclick' entfernt Mapset aus 'Mapsouce'"},
        {Msg::TipSelectionModes, "Singleselect = doubleclick. Use multiselect with 'Drag & Drop'", "Einfachauswahl mit Doppelclick. Mehrfachauswahl mit 'Drag & Drop'"},
        {Msg::TipExportImport, "click here,if you want to install maps on another pc.", nullptr},
        {Msg::MsgCgpsmapper97cMissing, "File 'cgpsmapper.exe' is not existing in subfolder \\Version97c. Make a new installation veldra", nullptr},
        {Msg::MsgRestartAfterCgpsmapper, " Please start again after selection of cgpsmapper.", nullptr},
        {Msg::MsgNoTypeFileContinue, "No typfile selected. Existing typfile will not longer used with the mapset. Continue ?", nullptr},
        {Msg::MsgNoTypeFileInUse, "with this mapset is no typfile in use. Select typfile in the righthand box.", nullptr},
        {Msg::MsgNoTypeFileSelected, "no typfile is selected", nullptr},
        {Msg::MsgMissingKey, "missing key ", "Es fehlt der Schlüssel "},
        {Msg::MsgCanRepair, "\\1. VELDRA can repair this. Shell it do?", "\\1. VELDRA kann den Fehler korrigieren. Soll korrigiert werden?"},
        {Msg::MsgMissingKeysRepair, " Missing registrykeys. Repair the registry and start again.", " Es fehlen Registryschlüssel. Korrigieren Sie die Registry und starten sie danach neu."},
        {Msg::MsgWrongTileName, "You try to integrate files with wrong filename. Filename must always have 8 digits, no letters. For example:'12345678.img' or end with ...'gmapsupp.img'.", "Sie versuchen File(s) einzubinden, deren Name nicht aus acht Ziffern besteht.z.B.:'12345678.img' oder auf ..'gmapsupp.img' endet."},
        {Msg::MsgCloseHostFirst, "Close 'Mapsource' befor click 'OKAY'. Else the SOFTWARE can not go on.", " Schließen sie bitte 'Mapsource' bevor Sie mit 'OKAY' bestätigen. Sonst kann das Programm nicht fortgesetzt werden."},
        {Msg::MsgTdbValueMissing, "Missing in Registrykey the entry for value 'TDB=' . You must insert it or delete the key complett. : ", "In folgendem Registryschlüssel fehlt der Eintrag zum Wert 'TDB=' . Sie müssen diesen Eintrag vornehmen oder den Schlüssel komplett loeschen. : "},
        {Msg::MsgDuplicateId, "Following ID-Nummer does 2x exist. VELDRA can eliminate this mistake. Shell it do ?", " Folgende ID-Nummer ist doppelt vorhanden. VELDRA kann den Fehler automatisch korrigieren. Soll Korrigiert werden ? : "},
        {Msg::MsgTypeFileDeleted, "Typfile was deleted.", nullptr},
        {Msg::MsgNoFileChosen, "No File choosed.", "Kein File ausgewaehlt."},
        {Msg::MsgRegistryWriteFailed, "veldra was unable to write to registry, because the securitysettings doe's not allow that. You should create a gmap-installation instaed registy-installation. in that case are adminright's not necessary. Or try to start veldra with rightclick an VELDRA*-exe==> start as==> administrator and change your securitysetting in uac and/or in registry. veldra must have a write-rights in registry.", "VELDRA konnte keine Registryeinträge schreiben, weil die Sicherheitseinstellungen des PC dies verhindern. Sie sollten die Karte als gmap-Installation erzeugen statt Registry-Installation, da werden keine admin-Rechte gebraucht. Oder Starten Sie veldra neu mit Rechtsclick auf die VELDRA*-exe ==> starten als ==> admin und konfigurieren Sie die Benutzerkontensteuerung und/oder die Zugriffsrechte für dier Registry so, das der Vollzugriff für VELDRA erlaubt wird."},
        {Msg::MsgTypeFileSameName, "the new Typfile is stored in same folder like the old and it has the same name. That is not alowed. Rename it and store it in other folder.", nullptr},
        {Msg::MsgIdenticalId, " has a identical ID-number like another mapset. MapSource will showup only one mapset. Change  one mapset or delete it.", " hat die gleiche ID-Nummer wie ein anderes Mapset. MapSource wird nur eine der beiden Karten anzeigen. Ändern Sie die ID-Nummer oder löschen Sie eines der Mapsets."},
        {Msg::MsgSendgMissing, "missing file sendg.dll in cgpsmapper-folder. Create a copy of sendg.dll and store it in folder ", nullptr},
        {Msg::MsgCgpsmapperNotInFolder, "File cgpsmapper.exe is not in  that folder. Select other folder.", nullptr},
        {Msg::MsgTdbFromGmapsuppFailed, "Creation of tdb-file was not possible. Perhaps some img-files were created. VELDRA will restart. Then try it it with the created img-files in subfolder ..\\SplittMaps again.", "Es konnte kein tdb-File aus der gmapsupp erzeugt werden. Die automatische Integration in MapSource war nicht möglich. Möglicherweise sind aber img-Files erzeugt worden. VELDRA wird neu starten. Dann können Sie versuchen, erzeugte img-Files im Unterordner..\\SplittMaps separat einzubinden."},
        {Msg::MsgGmapsuppPathDots, "Any pathname to gmapsupp.img includes dots as name. Move the gmapsupp to  a folder  without dots in foldername.", "Im Pfad der gmapsupp.img sind Punkte in Ordnernamen enthalten. Das ist nicht zulässig. Verschieben sie die gmapsupp.img in einen Ordner, dessen Pfad keine Punkte enthaelt."},
        {Msg::MsgGmapsuppPathChars, "Any pathname to gmapsupp.img includes characters like ?, %, or similar. Move the gmapsupp.img to a foldeer without such characters.", "Im Pfad zur gmapsupp.img befinden sich unzulässige Sonderzeichen wie Punkte, ?, %, oder ähnliche. Speichern Sie die gmapsupp.img in einem anderen Ordner,dessen Name keine Sonderzeichen enthält."},
        {Msg::MsgGmapsuppExtractFailed, "veldra was not bee able to extract some files from  gmapsupp. Try another gmapsupp.img.", "Es konnten nicht alle erforderlichen Dateien aus der gmapsupp.img extrahiert werden. Probieren Sie eine andere gmapsupp.img."},
        {Msg::MsgCgpsmapperRetry97c, "cgpsmapperV100 has failed, veldra will try it with version97c", "cgpsmapperV100 konnte die Files nicht verarbeiten, veldra probiert Version97c"},
        {Msg::MsgTdbCreationFailed, "veldra was unable to create a tdb-file. Check if your files are error-free", "Es konnte leider kein TDB-File erzeugt werden. Prüfen sie die Kacheln auf Fehlerfreiheit."},
};

TEST(QuotedTexts, EveryQuotedEntryAndCaptionHoldsItsWordingInBothLanguages) {
    app::MessageCatalog english, german;
    english.fill("Eng");
    german.fill("Deu");
    for (const auto& quoted : QuotedTexts) {
        const auto name = app::MessageCatalog::name(quoted.id);
        EXPECT_EQ(english.text(quoted.id), quoted.english) << name;
        if (quoted.german) {
            EXPECT_EQ(german.text(quoted.id), quoted.german) << name;
        }
    }
    EXPECT_EQ(english.control("CommandNameuebernehmen"), "use this name");
    EXPECT_EQ(german.control("CommandNameuebernehmen"), "Name uebernehmen");
}

}  // namespace
}  // namespace veldra
