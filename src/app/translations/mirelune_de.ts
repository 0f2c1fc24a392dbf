<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AddByDialog</name>
    <message>
        <source>Add File(s) - Hold Ctrl or Shift to select multiple files</source>
        <translation>Datei(en) hinzufügen – mit Strg oder Umschalt mehrere Dateien wählen</translation>
    </message>
    <message>
        <source>Mp3 Files (*.mp3)</source>
        <translation>MP3-Dateien (*.mp3)</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>The skin file %1 cannot be read: %2</source>
        <translation>Die Skin-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The pointer file %1 cannot be loaded.</source>
        <translation>Die Zeigerdatei %1 kann nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>DoneMessage</name>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>1 file failed:</source>
        <translation>1 Datei fehlgeschlagen:</translation>
    </message>
    <message numerus="yes">
        <source>%n files failed:</source>
        <translation>
            <numerusform>%n Datei fehlgeschlagen:</numerusform>
            <numerusform>%n Dateien fehlgeschlagen:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file skipped:</source>
        <translation>1 Datei übersprungen:</translation>
    </message>
    <message numerus="yes">
        <source>%n files skipped:</source>
        <translation>
            <numerusform>%n Datei übersprungen:</numerusform>
            <numerusform>%n Dateien übersprungen:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file renamed for the target:</source>
        <translation>1 Datei für das Ziel umbenannt:</translation>
    </message>
    <message numerus="yes">
        <source>%n files renamed for the target:</source>
        <translation>
            <numerusform>%n Datei für das Ziel umbenannt:</numerusform>
            <numerusform>%n Dateien für das Ziel umbenannt:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result larger than the original:</source>
        <translation>1 Ergebnis größer als das Original:</translation>
    </message>
    <message numerus="yes">
        <source>%n results larger than their originals:</source>
        <translation>
            <numerusform>%n Ergebnis größer als das Original:</numerusform>
            <numerusform>%n Ergebnisse größer als ihre Originale:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file reduced with a note:</source>
        <translation>1 Datei mit einem Hinweis verkleinert:</translation>
    </message>
    <message numerus="yes">
        <source>%n files reduced with a note:</source>
        <translation>
            <numerusform>%n Datei mit einem Hinweis verkleinert:</numerusform>
            <numerusform>%n Dateien mit einem Hinweis verkleinert:</numerusform>
        </translation>
    </message>
    <message>
        <source>saved as %1</source>
        <translation>gespeichert als %1</translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists beside its original. Replace it?</source>
        <translation>1 Ergebnis würde eine Datei ersetzen, die neben ihrem Original schon vorhanden ist. Ersetzen?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist beside their originals. Replace them?</source>
        <translation>
            <numerusform>%n Ergebnis würde eine Datei ersetzen, die neben ihrem Original schon vorhanden ist. Ersetzen?</numerusform>
            <numerusform>%n der Ergebnisse würden Dateien ersetzen, die neben ihren Originalen schon vorhanden sind. Ersetzen?</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists in the output folder. Replace it?</source>
        <translation>1 Ergebnis würde eine Datei ersetzen, die im Zielordner schon vorhanden ist. Ersetzen?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist in the output folder. Replace them?</source>
        <translation>
            <numerusform>%n Ergebnis würde eine Datei ersetzen, die im Zielordner schon vorhanden ist. Ersetzen?</numerusform>
            <numerusform>%n der Ergebnisse würden Dateien ersetzen, die im Zielordner schon vorhanden sind. Ersetzen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Please choose where to save the results: &quot;Save results to this folder:&quot; or &quot;Save results in folder of original file&quot;.</source>
        <translation>Bitte wählen Sie, wo die Ergebnisse gespeichert werden: „In diesen Ordner speichern:“ oder „Neben der Originaldatei speichern“.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>EncoderCopy</name>
    <message>
        <source>The encoder cannot run: the system does not allow running programs in %1.</source>
        <translation>Der Encoder kann nicht laufen: Das System erlaubt keine Programme in %1.</translation>
    </message>
    <message>
        <source>No private folder for the encoder can be made in %1: %2</source>
        <translation>In %1 kann kein privater Ordner für den Encoder angelegt werden: %2</translation>
    </message>
    <message>
        <source>The encoder cannot be written to %1: %2</source>
        <translation>Der Encoder kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The encoder at %1 cannot be made runnable.</source>
        <translation>Der Encoder in %1 kann nicht ausführbar gemacht werden.</translation>
    </message>
</context>
<context>
    <name>EncoderResource</name>
    <message>
        <source>The built-in encoder cannot be read.</source>
        <translation>Der eingebaute Encoder kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Unexpected failure of unknown kind</source>
        <translation>Unerwarteter Fehler unbekannter Art</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %1</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Programmfehler</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>%1 kbps</source>
        <translation>%1 kbit/s</translation>
    </message>
</context>
<context>
    <name>FolderScan</name>
    <message>
        <source>Please select folder:</source>
        <translation>Bitte Ordner wählen:</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Dateiendung der zu ladenden Dateien:<byte value="xd"/><byte value="xd"/>(* für alle Dateien, txt für alle txt-Dateien, doc für alle doc-Dateien usw.)</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Dateien hierher ziehen und ablegen. Doppelklick auf einen Eintrag entfernt ihn. Die Linie | nach rechts aus dem Fenster ziehen, um die vollständigen Namen zu sehen.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>MP3-Datei(en) hinzufügen</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Alle MP3-Dateien im Ordner</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Beispieldateien laden</translation>
    </message>
    <message>
        <source>Reduce Options</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Save Option</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Save results to this folder:</source>
        <translation>In diesen Ordner speichern:</translation>
    </message>
    <message>
        <source>Save results in folder of original file</source>
        <translation>Neben der Originaldatei speichern</translation>
    </message>
    <message>
        <source>Start Reducing</source>
        <translation>Verkleinern starten</translation>
    </message>
    <message>
        <source>There is no entry %1 in the list of bitrates.</source>
        <translation>Die Liste der Bitraten hat keinen Eintrag %1.</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>MP3-Datei(en)</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
</context>
<context>
    <name>LargerResults</name>
    <message>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <source>larger than the original (%1)</source>
        <translation>größer als das Original (%1)</translation>
    </message>
    <message>
        <source>; 1 result larger than the original</source>
        <translation>; 1 Ergebnis größer als das Original</translation>
    </message>
    <message numerus="yes">
        <source>; %n results larger than their originals</source>
        <translation>
            <numerusform>; %n Ergebnis größer als das Original</numerusform>
            <numerusform>; %n Ergebnisse größer als ihre Originale</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LeftOutNames</name>
    <message>
        <source>name is not valid UTF-8</source>
        <translation>Name ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>folder skipped: name is not valid UTF-8</source>
        <translation>Ordner übersprungen: Name ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>folder skipped: name holds a control character</source>
        <translation>Ordner übersprungen: Name enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>folder skipped: path too long</source>
        <translation>Ordner übersprungen: Pfad zu lang</translation>
    </message>
</context>
<context>
    <name>ReduceJob</name>
    <message>
        <source>No files added.</source>
        <translation>Keine Dateien hinzugefügt.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Der Ordner existiert nicht. Bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Verarbeite: %1</translation>
    </message>
    <message>
        <source>row %1</source>
        <translation>Zeile %1</translation>
    </message>
</context>
<context>
    <name>ReduceOptions</name>
    <message>
        <source>Reduce to %1 kbps</source>
        <translation>Auf %1 kbit/s verkleinern</translation>
    </message>
</context>
<context>
    <name>ReductionOutcome</name>
    <message>
        <source>could not start the encoder</source>
        <translation>Encoder konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>the encoder failed with exit code %1</source>
        <translation>Encoder mit Exit-Code %1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>the encoder stopped unexpectedly</source>
        <translation>Encoder unerwartet beendet</translation>
    </message>
    <message>
        <source>result not a valid MP3 file</source>
        <translation>Ergebnis ist keine gültige MP3-Datei</translation>
    </message>
    <message>
        <source>would overwrite its source</source>
        <translation>würde die Quelle überschreiben</translation>
    </message>
    <message>
        <source>no choice where to save the result</source>
        <translation>kein Speicherort gewählt</translation>
    </message>
    <message>
        <source>no target bitrate chosen</source>
        <translation>keine Zielbitrate gewählt</translation>
    </message>
    <message>
        <source>the list row could not be read</source>
        <translation>Listenzeile konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the file no longer exists</source>
        <translation>Datei existiert nicht mehr</translation>
    </message>
    <message>
        <source>no space left on the device</source>
        <translation>kein Platz mehr auf dem Datenträger</translation>
    </message>
    <message>
        <source>the result&apos;s name would be too long for the file system</source>
        <translation>Name des Ergebnisses wäre für das Dateisystem zu lang</translation>
    </message>
    <message>
        <source>exists</source>
        <translation>vorhanden</translation>
    </message>
    <message>
        <source>outdated</source>
        <translation>veraltet</translation>
    </message>
    <message>
        <source>result of %1</source>
        <translation>Ergebnis von %1</translation>
    </message>
    <message>
        <source>could not write in %1: %2</source>
        <translation>konnte nicht in %1 schreiben: %2</translation>
    </message>
    <message>
        <source>could not replace %1: %2</source>
        <translation>konnte %1 nicht ersetzen: %2</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>konnte %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>the target does not accept the name %1</source>
        <translation>das Ziel nimmt den Namen %1 nicht an</translation>
    </message>
    <message>
        <source>the folder no longer exists</source>
        <translation>Ordner existiert nicht mehr</translation>
    </message>
    <message>
        <source>the medium is read-only</source>
        <translation>Datenträger ist schreibgeschützt</translation>
    </message>
    <message>
        <source>%1 is a link or no folder: results go only into real folders below the output folder</source>
        <translation>%1 ist eine Verknüpfung oder kein Ordner: Ergebnisse kommen nur in echte Ordner unterhalb des Ausgabeordners</translation>
    </message>
</context>
<context>
    <name>RefusedFiles</name>
    <message>
        <source>not a valid MP3 file</source>
        <translation>keine gültige MP3-Datei</translation>
    </message>
    <message>
        <source>File left out</source>
        <translation>Datei ausgelassen</translation>
    </message>
    <message numerus="yes">
        <source>%n files were left out:</source>
        <translation>
            <numerusform>%n Datei ausgelassen:</numerusform>
            <numerusform>%n Dateien ausgelassen:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files are not valid MP3 files:</source>
        <translation>
            <numerusform>%n Datei ist keine gültige MP3-Datei:</numerusform>
            <numerusform>%n Dateien sind keine gültigen MP3-Dateien:</numerusform>
        </translation>
    </message>
    <message>
        <source>Not a valid MP3 file</source>
        <translation>Keine gültige MP3-Datei</translation>
    </message>
    <message>
        <source>out of range</source>
        <translation>außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>division by zero</source>
        <translation>Division durch null</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ResultJournal</name>
    <message>
        <source>could not write the record of results %1: %2</source>
        <translation>konnte das Ergebnisprotokoll %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>only the first %1 records of results in %2 were read</source>
        <translation>nur die ersten %1 Ergebnisprotokolle in %2 wurden gelesen</translation>
    </message>
    <message>
        <source>the record of results %1 is over %2 MiB and was passed over</source>
        <translation>das Ergebnisprotokoll %1 ist größer als %2 MiB und wurde übergangen</translation>
    </message>
    <message>
        <source>the record of results %1 has lines over %2 KiB, which were passed over</source>
        <translation>das Ergebnisprotokoll %1 hat Zeilen über %2 KiB, die übergangen wurden</translation>
    </message>
    <message>
        <source>%1 is not a folder (a link or a file): the records of results are kept only in a real folder; remove it, or choose another output folder</source>
        <translation>%1 ist kein Ordner (eine Verknüpfung oder eine Datei): Ergebnisprotokolle werden nur in einem echten Ordner geführt; entfernen Sie es oder wählen Sie einen anderen Ausgabeordner</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2; ask its owner to let you write there, or choose another output folder</source>
        <translation>konnte das Ergebnisprotokoll in %1 nicht schreiben: %2; bitten Sie den Besitzer, Ihnen dort Schreibrechte zu geben, oder wählen Sie einen anderen Ausgabeordner</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2</source>
        <translation>konnte das Ergebnisprotokoll in %1 nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Progress Bar</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Bitte warten.. %1</translation>
    </message>
</context>
<context>
    <name>SampleFiles</name>
    <message>
        <source>no longer exists</source>
        <translation>existiert nicht mehr</translation>
    </message>
    <message>
        <source>folder skipped</source>
        <translation>Ordner übersprungen</translation>
    </message>
    <message>
        <source>The folder could not be opened:</source>
        <translation>Der Ordner konnte nicht geöffnet werden:</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Soll der Ordner mit den Beispieldateien geöffnet werden (damit Sie sie ansehen können, bevor Sie damit arbeiten)?</translation>
    </message>
</context>
<context>
    <name>SettingsConversions</name>
    <message>
        <source>The stored value &quot;%1&quot; is not a whole number from -32768 to 32767.</source>
        <translation>Der gespeicherte Wert „%1“ ist keine ganze Zahl von -32768 bis 32767.</translation>
    </message>
    <message>
        <source>The stored value &quot;%1&quot; is neither True, False nor a number.</source>
        <translation>Der gespeicherte Wert „%1“ ist weder True noch False noch eine Zahl.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Your settings cannot be saved in %1. Mirelune keeps working, but your choices will not be remembered the next time it starts.</source>
        <translation>Ihre Einstellungen können nicht in %1 gespeichert werden. Mirelune arbeitet weiter, merkt sich Ihre Auswahl aber nicht bis zum nächsten Start.</translation>
    </message>
</context>
<context>
    <name>WindowCommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>existiert nicht</translation>
    </message>
</context>
</TS>
