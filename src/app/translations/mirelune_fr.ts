<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AddByDialog</name>
    <message>
        <source>Add File(s) - Hold Ctrl or Shift to select multiple files</source>
        <translation>Ajouter des fichiers – Ctrl ou Maj pour en choisir plusieurs</translation>
    </message>
    <message>
        <source>Mp3 Files (*.mp3)</source>
        <translation>Fichiers MP3 (*.mp3)</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>The skin file %1 cannot be read: %2</source>
        <translation>Impossible de lire le fichier d’apparence %1 : %2</translation>
    </message>
    <message>
        <source>The pointer file %1 cannot be loaded.</source>
        <translation>Impossible de charger le fichier de pointeur %1.</translation>
    </message>
</context>
<context>
    <name>DoneMessage</name>
    <message>
        <source>and %1 more</source>
        <translation>et %1 de plus</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>1 file failed:</source>
        <translation>1 fichier en échec :</translation>
    </message>
    <message numerus="yes">
        <source>%n files failed:</source>
        <translation>
            <numerusform>%n fichier en échec :</numerusform>
            <numerusform>%n fichiers en échec :</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file skipped:</source>
        <translation>1 fichier ignoré :</translation>
    </message>
    <message numerus="yes">
        <source>%n files skipped:</source>
        <translation>
            <numerusform>%n fichier ignoré :</numerusform>
            <numerusform>%n fichiers ignorés :</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file renamed for the target:</source>
        <translation>1 fichier renommé pour la destination :</translation>
    </message>
    <message numerus="yes">
        <source>%n files renamed for the target:</source>
        <translation>
            <numerusform>%n fichier renommé pour la destination :</numerusform>
            <numerusform>%n fichiers renommés pour la destination :</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result larger than the original:</source>
        <translation>1 résultat plus gros que l’original :</translation>
    </message>
    <message numerus="yes">
        <source>%n results larger than their originals:</source>
        <translation>
            <numerusform>%n résultat plus gros que l’original :</numerusform>
            <numerusform>%n résultats plus gros que leurs originaux :</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file reduced with a note:</source>
        <translation>1 fichier réduit avec une remarque :</translation>
    </message>
    <message numerus="yes">
        <source>%n files reduced with a note:</source>
        <translation>
            <numerusform>%n fichier réduit avec une remarque :</numerusform>
            <numerusform>%n fichiers réduits avec une remarque :</numerusform>
        </translation>
    </message>
    <message>
        <source>saved as %1</source>
        <translation>enregistré sous %1</translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists beside its original. Replace it?</source>
        <translation>1 résultat remplacerait un fichier qui existe déjà à côté de son original. Le remplacer ?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist beside their originals. Replace them?</source>
        <translation>
            <numerusform>%n résultat remplacerait un fichier qui existe déjà à côté de son original. Le remplacer ?</numerusform>
            <numerusform>%n des résultats remplaceraient des fichiers qui existent déjà à côté de leurs originaux. Les remplacer ?</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists in the output folder. Replace it?</source>
        <translation>1 résultat remplacerait un fichier qui existe déjà dans le dossier de destination. Le remplacer ?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist in the output folder. Replace them?</source>
        <translation>
            <numerusform>%n résultat remplacerait un fichier qui existe déjà dans le dossier de destination. Le remplacer ?</numerusform>
            <numerusform>%n des résultats remplaceraient des fichiers qui existent déjà dans le dossier de destination. Les remplacer ?</numerusform>
        </translation>
    </message>
    <message>
        <source>Please choose where to save the results: &quot;Save results to this folder:&quot; or &quot;Save results in folder of original file&quot;.</source>
        <translation>Veuillez choisir où enregistrer les résultats : « Enregistrer dans ce dossier : » ou « Enregistrer près de l’original ».</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
</context>
<context>
    <name>EncoderCopy</name>
    <message>
        <source>The encoder cannot run: the system does not allow running programs in %1.</source>
        <translation>L’encodeur ne peut pas s’exécuter : le système n’autorise pas l’exécution de programmes dans %1.</translation>
    </message>
    <message>
        <source>No private folder for the encoder can be made in %1: %2</source>
        <translation>Impossible de créer un dossier privé pour l’encodeur dans %1 : %2</translation>
    </message>
    <message>
        <source>The encoder cannot be written to %1: %2</source>
        <translation>Impossible d’écrire l’encodeur dans %1 : %2</translation>
    </message>
    <message>
        <source>The encoder at %1 cannot be made runnable.</source>
        <translation>Impossible de rendre exécutable l’encodeur %1.</translation>
    </message>
</context>
<context>
    <name>EncoderResource</name>
    <message>
        <source>The built-in encoder cannot be read.</source>
        <translation>Impossible de lire l’encodeur intégré.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Unexpected failure of unknown kind</source>
        <translation>Échec inattendu de nature inconnue</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Veuillez envoyer une capture d’écran de ce message par courriel à %1</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l’application</translation>
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
        <translation>Veuillez choisir un dossier :</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Extension des fichiers à charger :<byte value="xd"/><byte value="xd"/>(* pour tous les fichiers, txt pour tous les fichiers txt, doc pour tous les fichiers doc, etc.)</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Glissez-déposez des fichiers ici. Double-cliquez sur un élément pour le retirer. Déplacez la ligne | vers la droite, hors de la fenêtre, pour voir les noms complets.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>Ajouter des fichiers MP3</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Tous les MP3 d’un dossier</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Vider la liste</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Charger les fichiers d’exemple</translation>
    </message>
    <message>
        <source>Reduce Options</source>
        <translation>Options de réduction</translation>
    </message>
    <message>
        <source>Save Option</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Save results to this folder:</source>
        <translation>Enregistrer dans ce dossier :</translation>
    </message>
    <message>
        <source>Save results in folder of original file</source>
        <translation>Enregistrer près de l’original</translation>
    </message>
    <message>
        <source>Start Reducing</source>
        <translation>Lancer la réduction</translation>
    </message>
    <message>
        <source>There is no entry %1 in the list of bitrates.</source>
        <translation>La liste des débits n’a pas d’entrée %1.</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>Fichier(s) MP3</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Débit</translation>
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
        <translation>plus gros que l’original (%1)</translation>
    </message>
    <message>
        <source>; 1 result larger than the original</source>
        <translation> ; 1 résultat plus gros que l’original</translation>
    </message>
    <message numerus="yes">
        <source>; %n results larger than their originals</source>
        <translation>
            <numerusform> ; %n résultat plus gros que l’original</numerusform>
            <numerusform> ; %n résultats plus gros que leurs originaux</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LeftOutNames</name>
    <message>
        <source>name is not valid UTF-8</source>
        <translation>nom non valide en UTF-8</translation>
    </message>
    <message>
        <source>folder skipped: name is not valid UTF-8</source>
        <translation>dossier ignoré : nom non valide en UTF-8</translation>
    </message>
    <message>
        <source>folder skipped: name holds a control character</source>
        <translation>dossier ignoré : le nom contient un caractère de contrôle</translation>
    </message>
    <message>
        <source>folder skipped: path too long</source>
        <translation>dossier ignoré : chemin trop long</translation>
    </message>
</context>
<context>
    <name>ReduceJob</name>
    <message>
        <source>No files added.</source>
        <translation>Aucun fichier ajouté.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Le dossier n’existe pas. Veuillez choisir un autre dossier.</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Traitement : %1</translation>
    </message>
    <message>
        <source>row %1</source>
        <translation>ligne %1</translation>
    </message>
</context>
<context>
    <name>ReduceOptions</name>
    <message>
        <source>Reduce to %1 kbps</source>
        <translation>Réduire à %1 kbit/s</translation>
    </message>
</context>
<context>
    <name>ReductionOutcome</name>
    <message>
        <source>could not start the encoder</source>
        <translation>impossible de lancer l’encodeur</translation>
    </message>
    <message>
        <source>the encoder failed with exit code %1</source>
        <translation>l’encodeur a échoué avec le code de sortie %1</translation>
    </message>
    <message>
        <source>the encoder stopped unexpectedly</source>
        <translation>l’encodeur s’est arrêté de façon inattendue</translation>
    </message>
    <message>
        <source>result not a valid MP3 file</source>
        <translation>le résultat n’est pas un fichier MP3 valide</translation>
    </message>
    <message>
        <source>would overwrite its source</source>
        <translation>écraserait sa source</translation>
    </message>
    <message>
        <source>no choice where to save the result</source>
        <translation>aucun emplacement d’enregistrement choisi</translation>
    </message>
    <message>
        <source>no target bitrate chosen</source>
        <translation>aucun débit cible choisi</translation>
    </message>
    <message>
        <source>the list row could not be read</source>
        <translation>impossible de lire la ligne de la liste</translation>
    </message>
    <message>
        <source>the file no longer exists</source>
        <translation>le fichier n’existe plus</translation>
    </message>
    <message>
        <source>no space left on the device</source>
        <translation>plus d’espace libre sur le périphérique</translation>
    </message>
    <message>
        <source>the result&apos;s name would be too long for the file system</source>
        <translation>le nom du résultat serait trop long pour le système de fichiers</translation>
    </message>
    <message>
        <source>exists</source>
        <translation>existe déjà</translation>
    </message>
    <message>
        <source>outdated</source>
        <translation>obsolète</translation>
    </message>
    <message>
        <source>result of %1</source>
        <translation>résultat de %1</translation>
    </message>
    <message>
        <source>could not write in %1: %2</source>
        <translation>impossible d’écrire dans %1 : %2</translation>
    </message>
    <message>
        <source>could not replace %1: %2</source>
        <translation>impossible de remplacer %1 : %2</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>impossible d’écrire %1 : %2</translation>
    </message>
    <message>
        <source>the target does not accept the name %1</source>
        <translation>la destination refuse le nom %1</translation>
    </message>
    <message>
        <source>the folder no longer exists</source>
        <translation>le dossier n’existe plus</translation>
    </message>
    <message>
        <source>the medium is read-only</source>
        <translation>le support est en lecture seule</translation>
    </message>
    <message>
        <source>%1 is a link or no folder: results go only into real folders below the output folder</source>
        <translation>%1 est un lien ou n’est pas un dossier : les résultats ne vont que dans de vrais dossiers sous le dossier de sortie</translation>
    </message>
</context>
<context>
    <name>RefusedFiles</name>
    <message>
        <source>not a valid MP3 file</source>
        <translation>fichier MP3 non valide</translation>
    </message>
    <message>
        <source>File left out</source>
        <translation>Fichier écarté</translation>
    </message>
    <message numerus="yes">
        <source>%n files were left out:</source>
        <translation>
            <numerusform>%n fichier écarté :</numerusform>
            <numerusform>%n fichiers écartés :</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files are not valid MP3 files:</source>
        <translation>
            <numerusform>%n fichier n’est pas un fichier MP3 valide :</numerusform>
            <numerusform>%n fichiers ne sont pas des fichiers MP3 valides :</numerusform>
        </translation>
    </message>
    <message>
        <source>Not a valid MP3 file</source>
        <translation>Fichier MP3 non valide</translation>
    </message>
    <message>
        <source>out of range</source>
        <translation>hors limites</translation>
    </message>
    <message>
        <source>overflow</source>
        <translation>dépassement de capacité</translation>
    </message>
    <message>
        <source>division by zero</source>
        <translation>division par zéro</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
</context>
<context>
    <name>ResultJournal</name>
    <message>
        <source>could not write the record of results %1: %2</source>
        <translation>impossible d’écrire le registre des résultats %1 : %2</translation>
    </message>
    <message>
        <source>only the first %1 records of results in %2 were read</source>
        <translation>seuls les %1 premiers registres des résultats de %2 ont été lus</translation>
    </message>
    <message>
        <source>the record of results %1 is over %2 MiB and was passed over</source>
        <translation>le registre des résultats %1 dépasse %2 Mio et a été ignoré</translation>
    </message>
    <message>
        <source>the record of results %1 has lines over %2 KiB, which were passed over</source>
        <translation>le registre des résultats %1 a des lignes de plus de %2 Kio, qui ont été ignorées</translation>
    </message>
    <message>
        <source>%1 is not a folder (a link or a file): the records of results are kept only in a real folder; remove it, or choose another output folder</source>
        <translation>%1 n’est pas un dossier (un lien ou un fichier) : le registre des résultats n’est tenu que dans un vrai dossier ; supprimez-le ou choisissez un autre dossier de sortie</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2; ask its owner to let you write there, or choose another output folder</source>
        <translation>impossible d’écrire le registre des résultats dans %1 : %2 ; demandez à son propriétaire de vous y autoriser à écrire, ou choisissez un autre dossier de sortie</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2</source>
        <translation>impossible d’écrire le registre des résultats dans %1 : %2</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Progress Bar</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Patientez.. %1</translation>
    </message>
</context>
<context>
    <name>SampleFiles</name>
    <message>
        <source>no longer exists</source>
        <translation>n’existe plus</translation>
    </message>
    <message>
        <source>folder skipped</source>
        <translation>dossier ignoré</translation>
    </message>
    <message>
        <source>The folder could not be opened:</source>
        <translation>Impossible d’ouvrir le dossier :</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Voulez-vous ouvrir le dossier où sont rangés ces fichiers d’exemple (pour les voir avant de les utiliser) ?</translation>
    </message>
</context>
<context>
    <name>SettingsConversions</name>
    <message>
        <source>The stored value &quot;%1&quot; is not a whole number from -32768 to 32767.</source>
        <translation>La valeur enregistrée « %1 » n’est pas un nombre entier de -32768 à 32767.</translation>
    </message>
    <message>
        <source>The stored value &quot;%1&quot; is neither True, False nor a number.</source>
        <translation>La valeur enregistrée « %1 » n’est ni True, ni False, ni un nombre.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Your settings cannot be saved in %1. Mirelune keeps working, but your choices will not be remembered the next time it starts.</source>
        <translation>Vos réglages ne peuvent pas être enregistrés dans %1. Mirelune continue de fonctionner, mais vos choix seront oubliés au prochain démarrage.</translation>
    </message>
</context>
<context>
    <name>WindowCommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>n’existe pas</translation>
    </message>
</context>
</TS>
