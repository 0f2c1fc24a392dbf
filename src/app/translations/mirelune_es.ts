<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AddByDialog</name>
    <message>
        <source>Add File(s) - Hold Ctrl or Shift to select multiple files</source>
        <translation>Añadir archivo(s) – mantenga Ctrl o Mayús para elegir varios</translation>
    </message>
    <message>
        <source>Mp3 Files (*.mp3)</source>
        <translation>Archivos MP3 (*.mp3)</translation>
    </message>
</context>
<context>
    <name>Appearance</name>
    <message>
        <source>The skin file %1 cannot be read: %2</source>
        <translation>No se puede leer el archivo de apariencia %1: %2</translation>
    </message>
    <message>
        <source>The pointer file %1 cannot be loaded.</source>
        <translation>No se puede cargar el archivo de puntero %1.</translation>
    </message>
</context>
<context>
    <name>DoneMessage</name>
    <message>
        <source>and %1 more</source>
        <translation>y %1 más</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Hecho.</translation>
    </message>
    <message>
        <source>1 file failed:</source>
        <translation>1 archivo falló:</translation>
    </message>
    <message numerus="yes">
        <source>%n files failed:</source>
        <translation>
            <numerusform>%n archivo falló:</numerusform>
            <numerusform>%n archivos fallaron:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file skipped:</source>
        <translation>1 archivo omitido:</translation>
    </message>
    <message numerus="yes">
        <source>%n files skipped:</source>
        <translation>
            <numerusform>%n archivo omitido:</numerusform>
            <numerusform>%n archivos omitidos:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file renamed for the target:</source>
        <translation>1 archivo renombrado para el destino:</translation>
    </message>
    <message numerus="yes">
        <source>%n files renamed for the target:</source>
        <translation>
            <numerusform>%n archivo renombrado para el destino:</numerusform>
            <numerusform>%n archivos renombrados para el destino:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result larger than the original:</source>
        <translation>1 resultado más grande que el original:</translation>
    </message>
    <message numerus="yes">
        <source>%n results larger than their originals:</source>
        <translation>
            <numerusform>%n resultado más grande que el original:</numerusform>
            <numerusform>%n resultados más grandes que sus originales:</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file reduced with a note:</source>
        <translation>1 archivo reducido con una nota:</translation>
    </message>
    <message numerus="yes">
        <source>%n files reduced with a note:</source>
        <translation>
            <numerusform>%n archivo reducido con una nota:</numerusform>
            <numerusform>%n archivos reducidos con una nota:</numerusform>
        </translation>
    </message>
    <message>
        <source>saved as %1</source>
        <translation>guardado como %1</translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists beside its original. Replace it?</source>
        <translation>1 resultado reemplazaría un archivo que ya existe junto a su original. ¿Reemplazarlo?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist beside their originals. Replace them?</source>
        <translation>
            <numerusform>%n resultado reemplazaría un archivo que ya existe junto a su original. ¿Reemplazarlo?</numerusform>
            <numerusform>%n de los resultados reemplazarían archivos que ya existen junto a sus originales. ¿Reemplazarlos?</numerusform>
        </translation>
    </message>
    <message>
        <source>1 result would replace a file that already exists in the output folder. Replace it?</source>
        <translation>1 resultado reemplazaría un archivo que ya existe en la carpeta de destino. ¿Reemplazarlo?</translation>
    </message>
    <message numerus="yes">
        <source>%n of the results would replace files that already exist in the output folder. Replace them?</source>
        <translation>
            <numerusform>%n resultado reemplazaría un archivo que ya existe en la carpeta de destino. ¿Reemplazarlo?</numerusform>
            <numerusform>%n de los resultados reemplazarían archivos que ya existen en la carpeta de destino. ¿Reemplazarlos?</numerusform>
        </translation>
    </message>
    <message>
        <source>Please choose where to save the results: &quot;Save results to this folder:&quot; or &quot;Save results in folder of original file&quot;.</source>
        <translation>Elija dónde guardar los resultados: «Guardar en esta carpeta:» o «Guardar junto al original».</translation>
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
        <translation>El codificador no puede ejecutarse: el sistema no permite ejecutar programas en %1.</translation>
    </message>
    <message>
        <source>No private folder for the encoder can be made in %1: %2</source>
        <translation>No se puede crear una carpeta privada para el codificador en %1: %2</translation>
    </message>
    <message>
        <source>The encoder cannot be written to %1: %2</source>
        <translation>No se puede escribir el codificador en %1: %2</translation>
    </message>
    <message>
        <source>The encoder at %1 cannot be made runnable.</source>
        <translation>No se puede hacer ejecutable el codificador en %1.</translation>
    </message>
</context>
<context>
    <name>EncoderResource</name>
    <message>
        <source>The built-in encoder cannot be read.</source>
        <translation>No se puede leer el codificador integrado.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Unexpected failure of unknown kind</source>
        <translation>Fallo inesperado de tipo desconocido</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Envíe una captura de pantalla de este mensaje por correo a %1</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Error de la aplicación</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>%1 kbps</source>
        <translation>%1 kbps</translation>
    </message>
</context>
<context>
    <name>FolderScan</name>
    <message>
        <source>Please select folder:</source>
        <translation>Seleccione una carpeta:</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Extensión de los archivos que cargar:<byte value="xd"/><byte value="xd"/>(* para todos los archivos, txt para todos los archivos txt, doc para todos los archivos doc, etc.)</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Arrastre y suelte archivos aquí. Haga doble clic en un elemento para quitarlo. Mueva la línea | a la derecha y fuera de la ventana para ver los nombres completos.</translation>
    </message>
    <message>
        <source>Add MP3 File(s)</source>
        <translation>Añadir archivo(s) MP3</translation>
    </message>
    <message>
        <source>Add All MP3 File(s) In Folder</source>
        <translation>Todos los MP3 de una carpeta</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Vaciar la lista</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Cargar archivos de ejemplo</translation>
    </message>
    <message>
        <source>Reduce Options</source>
        <translation>Opciones de reducción</translation>
    </message>
    <message>
        <source>Save Option</source>
        <translation>Dónde guardar</translation>
    </message>
    <message>
        <source>Save results to this folder:</source>
        <translation>Guardar en esta carpeta:</translation>
    </message>
    <message>
        <source>Save results in folder of original file</source>
        <translation>Guardar junto al original</translation>
    </message>
    <message>
        <source>Start Reducing</source>
        <translation>Iniciar la reducción</translation>
    </message>
    <message>
        <source>There is no entry %1 in the list of bitrates.</source>
        <translation>La lista de tasas de bits no tiene la entrada %1.</translation>
    </message>
    <message>
        <source>MP3 File(s)</source>
        <translation>Archivo(s) MP3</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Tasa de bits</translation>
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
        <translation>más grande que el original (%1)</translation>
    </message>
    <message>
        <source>; 1 result larger than the original</source>
        <translation>; 1 resultado más grande que el original</translation>
    </message>
    <message numerus="yes">
        <source>; %n results larger than their originals</source>
        <translation>
            <numerusform>; %n resultado más grande que el original</numerusform>
            <numerusform>; %n resultados más grandes que sus originales</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LeftOutNames</name>
    <message>
        <source>name is not valid UTF-8</source>
        <translation>el nombre no es UTF-8 válido</translation>
    </message>
    <message>
        <source>folder skipped: name is not valid UTF-8</source>
        <translation>carpeta omitida: el nombre no es UTF-8 válido</translation>
    </message>
    <message>
        <source>folder skipped: name holds a control character</source>
        <translation>carpeta omitida: el nombre contiene un carácter de control</translation>
    </message>
    <message>
        <source>folder skipped: path too long</source>
        <translation>carpeta omitida: ruta demasiado larga</translation>
    </message>
</context>
<context>
    <name>ReduceJob</name>
    <message>
        <source>No files added.</source>
        <translation>No se ha añadido ningún archivo.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>La carpeta no existe. Seleccione otra carpeta.</translation>
    </message>
    <message>
        <source>Processing: %1</source>
        <translation>Procesando: %1</translation>
    </message>
    <message>
        <source>row %1</source>
        <translation>fila %1</translation>
    </message>
</context>
<context>
    <name>ReduceOptions</name>
    <message>
        <source>Reduce to %1 kbps</source>
        <translation>Reducir a %1 kbps</translation>
    </message>
</context>
<context>
    <name>ReductionOutcome</name>
    <message>
        <source>could not start the encoder</source>
        <translation>no se pudo iniciar el codificador</translation>
    </message>
    <message>
        <source>the encoder failed with exit code %1</source>
        <translation>el codificador falló con el código de salida %1</translation>
    </message>
    <message>
        <source>the encoder stopped unexpectedly</source>
        <translation>el codificador se detuvo inesperadamente</translation>
    </message>
    <message>
        <source>result not a valid MP3 file</source>
        <translation>el resultado no es un archivo MP3 válido</translation>
    </message>
    <message>
        <source>would overwrite its source</source>
        <translation>sobrescribiría su origen</translation>
    </message>
    <message>
        <source>no choice where to save the result</source>
        <translation>no se eligió dónde guardar el resultado</translation>
    </message>
    <message>
        <source>no target bitrate chosen</source>
        <translation>no se eligió la tasa de bits de destino</translation>
    </message>
    <message>
        <source>the list row could not be read</source>
        <translation>no se pudo leer la fila de la lista</translation>
    </message>
    <message>
        <source>the file no longer exists</source>
        <translation>el archivo ya no existe</translation>
    </message>
    <message>
        <source>no space left on the device</source>
        <translation>no queda espacio en el dispositivo</translation>
    </message>
    <message>
        <source>the result&apos;s name would be too long for the file system</source>
        <translation>el nombre del resultado sería demasiado largo para el sistema de archivos</translation>
    </message>
    <message>
        <source>exists</source>
        <translation>ya existe</translation>
    </message>
    <message>
        <source>outdated</source>
        <translation>desactualizado</translation>
    </message>
    <message>
        <source>result of %1</source>
        <translation>resultado de %1</translation>
    </message>
    <message>
        <source>could not write in %1: %2</source>
        <translation>no se pudo escribir en %1: %2</translation>
    </message>
    <message>
        <source>could not replace %1: %2</source>
        <translation>no se pudo reemplazar %1: %2</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>no se pudo escribir %1: %2</translation>
    </message>
    <message>
        <source>the target does not accept the name %1</source>
        <translation>el destino no acepta el nombre %1</translation>
    </message>
    <message>
        <source>the folder no longer exists</source>
        <translation>la carpeta ya no existe</translation>
    </message>
    <message>
        <source>the medium is read-only</source>
        <translation>el medio es de solo lectura</translation>
    </message>
    <message>
        <source>%1 is a link or no folder: results go only into real folders below the output folder</source>
        <translation>%1 es un enlace o no es una carpeta: los resultados solo van a carpetas reales dentro de la carpeta de salida</translation>
    </message>
</context>
<context>
    <name>RefusedFiles</name>
    <message>
        <source>not a valid MP3 file</source>
        <translation>no es un archivo MP3 válido</translation>
    </message>
    <message>
        <source>File left out</source>
        <translation>Archivo omitido</translation>
    </message>
    <message numerus="yes">
        <source>%n files were left out:</source>
        <translation>
            <numerusform>%n archivo omitido:</numerusform>
            <numerusform>%n archivos omitidos:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files are not valid MP3 files:</source>
        <translation>
            <numerusform>%n archivo no es un archivo MP3 válido:</numerusform>
            <numerusform>%n archivos no son archivos MP3 válidos:</numerusform>
        </translation>
    </message>
    <message>
        <source>Not a valid MP3 file</source>
        <translation>No es un archivo MP3 válido</translation>
    </message>
    <message>
        <source>out of range</source>
        <translation>fuera de rango</translation>
    </message>
    <message>
        <source>overflow</source>
        <translation>desbordamiento</translation>
    </message>
    <message>
        <source>division by zero</source>
        <translation>división por cero</translation>
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
        <translation>no se pudo escribir el registro de resultados %1: %2</translation>
    </message>
    <message>
        <source>only the first %1 records of results in %2 were read</source>
        <translation>solo se leyeron los primeros %1 registros de resultados de %2</translation>
    </message>
    <message>
        <source>the record of results %1 is over %2 MiB and was passed over</source>
        <translation>el registro de resultados %1 supera los %2 MiB y se ha omitido</translation>
    </message>
    <message>
        <source>the record of results %1 has lines over %2 KiB, which were passed over</source>
        <translation>el registro de resultados %1 tiene líneas de más de %2 KiB, que se han omitido</translation>
    </message>
    <message>
        <source>%1 is not a folder (a link or a file): the records of results are kept only in a real folder; remove it, or choose another output folder</source>
        <translation>%1 no es una carpeta (es un enlace o un archivo): el registro de resultados solo se guarda en una carpeta real; elimínelo o elija otra carpeta de salida</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2; ask its owner to let you write there, or choose another output folder</source>
        <translation>no se pudo escribir el registro de resultados en %1: %2; pida a su propietario que le permita escribir allí, o elija otra carpeta de salida</translation>
    </message>
    <message>
        <source>could not write the record of results in %1: %2</source>
        <translation>no se pudo escribir el registro de resultados en %1: %2</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Progress Bar</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Please wait.. %1</source>
        <translation>Espere.. %1</translation>
    </message>
</context>
<context>
    <name>SampleFiles</name>
    <message>
        <source>no longer exists</source>
        <translation>ya no existe</translation>
    </message>
    <message>
        <source>folder skipped</source>
        <translation>carpeta omitida</translation>
    </message>
    <message>
        <source>The folder could not be opened:</source>
        <translation>No se pudo abrir la carpeta:</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>¿Desea abrir la carpeta donde se guardan estos archivos de ejemplo (para verlos antes de trabajar con ellos)?</translation>
    </message>
</context>
<context>
    <name>SettingsConversions</name>
    <message>
        <source>The stored value &quot;%1&quot; is not a whole number from -32768 to 32767.</source>
        <translation>El valor guardado «%1» no es un número entero de -32768 a 32767.</translation>
    </message>
    <message>
        <source>The stored value &quot;%1&quot; is neither True, False nor a number.</source>
        <translation>El valor guardado «%1» no es True, False ni un número.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Your settings cannot be saved in %1. Mirelune keeps working, but your choices will not be remembered the next time it starts.</source>
        <translation>No se pueden guardar sus ajustes en %1. Mirelune sigue funcionando, pero sus elecciones no se recordarán la próxima vez que se inicie.</translation>
    </message>
</context>
<context>
    <name>WindowCommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>no existe</translation>
    </message>
</context>
</TS>
