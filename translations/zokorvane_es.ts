<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AssociatedMr</name>
    <message>
        <source>Where is the MR series of this subject (%1 is not on this computer)?</source>
        <translation>¿Dónde está la serie de resonancia de este sujeto (%1 no está en este ordenador)?</translation>
    </message>
    <message>
        <source>The series in %1 is not the one calibrated on %2; mark the landmarks again</source>
        <translation>La serie de %1 no es la calibrada el %2; marque de nuevo los puntos de referencia</translation>
    </message>
</context>
<context>
    <name>BrainSpace</name>
    <message>
        <source>%1: its voxels are not placed in space</source>
        <translation>%1: sus vóxeles no están situados en el espacio</translation>
    </message>
    <message>
        <source>The atlas labels %1 cannot be read</source>
        <translation>No se pueden leer las etiquetas del atlas %1</translation>
    </message>
</context>
<context>
    <name>BrainTemplate</name>
    <message>
        <source>The template files of the package mricron-data are missing (%1); install mricron-data, or name a template with --template and an atlas with --atlas</source>
        <translation>Faltan los ficheros de plantilla del paquete mricron-data (%1); instale mricron-data o indique una plantilla con --template y un atlas con --atlas</translation>
    </message>
    <message>
        <source>The template %1 cannot be read</source>
        <translation>No se puede leer la plantilla %1</translation>
    </message>
    <message>
        <source>The template %1 does not exist</source>
        <translation>La plantilla %1 no existe</translation>
    </message>
    <message>
        <source>The template %1 is not a regular file</source>
        <translation>La plantilla %1 no es un fichero normal</translation>
    </message>
    <message>
        <source>The atlas %1 does not exist</source>
        <translation>El atlas %1 no existe</translation>
    </message>
    <message>
        <source>The atlas %1 is not a regular file</source>
        <translation>El atlas %1 no es un fichero normal</translation>
    </message>
</context>
<context>
    <name>BrainView</name>
    <message>
        <source>The template is not a volume: %1</source>
        <translation>La plantilla no es un volumen: %1</translation>
    </message>
</context>
<context>
    <name>ConfinedRead</name>
    <message>
        <source>it does not exist</source>
        <translation>no existe</translation>
    </message>
    <message>
        <source>it is a symbolic link, not followed</source>
        <translation>es un enlace simbólico, que no se sigue</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>no se puede leer: %1</translation>
    </message>
    <message>
        <source>it is not a file name inside the folder</source>
        <translation>no es un nombre de fichero dentro de la carpeta</translation>
    </message>
    <message>
        <source>its folder is a symbolic link, not followed</source>
        <translation>su carpeta es un enlace simbólico, que no se sigue</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un fichero normal</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>ocupa más de %1 bytes</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>está vacío</translation>
    </message>
</context>
<context>
    <name>DicomFiles</name>
    <message>
        <source>%1 have another pixel size than %2 x %3 mm</source>
        <translation>%1 tienen otro tamaño de píxel que %2 x %3 mm</translation>
    </message>
    <message>
        <source>%1 are not %2 mm from the slice before (from %3 to %4 mm)</source>
        <translation>%1 no están a %2 mm del corte anterior (de %3 a %4 mm)</translation>
    </message>
    <message>
        <source>The images of series %1 are not all defined alike: of %2 files, %3.</source>
        <translation>Las imágenes de la serie %1 no están todas definidas igual: de %2 archivos, %3.</translation>
    </message>
</context>
<context>
    <name>DrawingFile</name>
    <message>
        <source>number out of range: %1</source>
        <translation>número fuera de rango: %1</translation>
    </message>
    <message>
        <source>not a number: %1</source>
        <translation>no es un número: %1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>el fichero está vacío</translation>
    </message>
    <message>
        <source>the last point record is incomplete</source>
        <translation>el último registro de punto está incompleto</translation>
    </message>
    <message>
        <source>more than the %1 point records a drawing holds; the rest is not drawn</source>
        <translation>más de los %1 registros de punto que admite un dibujo; el resto no se dibuja</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un fichero normal</translation>
    </message>
</context>
<context>
    <name>DrawingRender</name>
    <message>
        <source>File error:</source>
        <translation>Error de fichero:</translation>
    </message>
    <message>
        <source>the study holds no drawing of that name</source>
        <translation>el estudio no tiene ningún dibujo con ese nombre</translation>
    </message>
</context>
<context>
    <name>EGrid</name>
    <message>
        <source>Point %1</source>
        <translation>Punto %1</translation>
    </message>
</context>
<context>
    <name>ExperimentReview</name>
    <message>
        <source>Cannot store the corrected stimuli</source>
        <translation>No se pueden guardar los estímulos corregidos</translation>
    </message>
    <message>
        <source>Cannot read the stimulation points</source>
        <translation>No se pueden leer los puntos de estimulación</translation>
    </message>
    <message>
        <source>Cannot read the stimuli of the point</source>
        <translation>No se pueden leer los estímulos del punto</translation>
    </message>
</context>
<context>
    <name>ExportStudyWindow</name>
    <message>
        <source>Export study</source>
        <translation>Exportar estudio</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Formato</translation>
    </message>
    <message>
        <source>F&amp;older</source>
        <translation>&amp;Carpeta</translation>
    </message>
    <message>
        <source>a new or empty folder</source>
        <translation>una carpeta nueva o vacía</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Examinar...</translation>
    </message>
    <message>
        <source>Progress of the export</source>
        <translation>Progreso de la exportación</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Tables for analysis (stimuli.tsv, subjects.tsv)</source>
        <translation>Tablas para análisis (stimuli.tsv, subjects.tsv)</translation>
    </message>
    <message>
        <source>NIBS-BIDS dataset</source>
        <translation>Conjunto de datos NIBS-BIDS</translation>
    </message>
    <message>
        <source>Export into the folder</source>
        <translation>Exportar a la carpeta</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Exportando...</translation>
    </message>
    <message>
        <source>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4.</source>
        <translation>Exportados %1 estímulos (%2 con dibujo) de %3 sujetos a %4.</translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation>Detenido: no se ha escrito nada.</translation>
    </message>
</context>
<context>
    <name>FAcumulados</name>
    <message>
        <source>Comparinh stinmulations</source>
        <translation>Comparación de estimulaciones</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Tipo de estímulo</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation>Nº de pulsos</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frecuencia</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensidad</translation>
    </message>
    <message>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Tipo de bobina</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Tipo de pulso</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientación</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Punto de estimulación:</translation>
    </message>
    <message>
        <source>Subjects:</source>
        <translation>Sujetos:</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Líneas</translation>
    </message>
    <message>
        <source>Fuse</source>
        <translation>Fusión</translation>
    </message>
    <message>
        <source>Mass center</source>
        <translation>Centro de masas</translation>
    </message>
    <message>
        <source>color: #a00000;</source>
        <translation>color: #a00000;</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source># pulses (from)</source>
        <translation>Nº de pulsos (desde)</translation>
    </message>
    <message>
        <source># pulses (to)</source>
        <translation>Nº de pulsos (hasta)</translation>
    </message>
    <message>
        <source>Frecuency (from)</source>
        <translation>Frecuencia (desde)</translation>
    </message>
    <message>
        <source>Frecuency (to)</source>
        <translation>Frecuencia (hasta)</translation>
    </message>
    <message>
        <source>Intensity (from)</source>
        <translation>Intensidad (desde)</translation>
    </message>
    <message>
        <source>Intensity (to)</source>
        <translation>Intensidad (hasta)</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Cualquiera</translation>
    </message>
    <message>
        <source>- Cualquiera</source>
        <translation>- Cualquiera</translation>
    </message>
    <message>
        <source>
Nothing is drawn until the bounds are whole numbers.</source>
        <translation>
No se dibuja nada hasta que los límites sean números enteros.</translation>
    </message>
</context>
<context>
    <name>FInicio</name>
    <message>
        <source>Seleccionar Serie de Imágenes</source>
        <translation>Seleccionar serie de imágenes</translation>
    </message>
    <message>
        <source>Load images from:</source>
        <translation>Cargar imágenes de:</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Ficheros</translation>
    </message>
    <message>
        <source>Series:</source>
        <translation>Series:</translation>
    </message>
    <message>
        <source>The series of the folder, by number; the largest series of one volume is chosen first. NIfTI volumes (.nii, .nii.gz) of the folder are listed too.</source>
        <translation>Las series de la carpeta, por número; primero se elige la mayor serie de un solo volumen. También se listan los volúmenes NIfTI (.nii, .nii.gz) de la carpeta.</translation>
    </message>
    <message>
        <source>Series kind</source>
        <translation>Tipo de serie</translation>
    </message>
    <message>
        <source>Images as lateral slices</source>
        <translation>Imágenes como cortes laterales</translation>
    </message>
    <message>
        <source>Only for JPEG pictures, which carry no orientation: ticked, they are lateral slices (columns from the face to the back, rows from the top down, the first picture at the subject's left); unticked, axial slices as scanners show them. DICOM and NIfTI volumes are oriented by their own headers.</source>
        <translation>Solo para imágenes JPEG, que no llevan orientación: marcada, son cortes laterales (columnas de la cara a la nuca, filas de arriba abajo, la primera imagen a la izquierda del sujeto); sin marcar, cortes axiales como los muestran los escáneres. Los volúmenes DICOM y NIfTI se orientan por sus propias cabeceras.</translation>
    </message>
    <message>
        <source>Load Images</source>
        <translation>Cargar imágenes</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Conviertiendo %1 de %2</source>
        <translation>Convirtiendo %1 de %2</translation>
    </message>
    <message>
        <source>Making 3D: %1 of %2</source>
        <translation>Construyendo 3D: %1 de %2</translation>
    </message>
    <message>
        <source>Imagenes Dicom (*.dcm o *.)</source>
        <translation>Imágenes DICOM (*.dcm o *.)</translation>
    </message>
    <message>
        <source>Imagenes JPG (*.jpg)</source>
        <translation>Imágenes JPG (*.jpg)</translation>
    </message>
    <message>
        <source>%1 (NIfTI)</source>
        <translation>%1 (NIfTI)</translation>
    </message>
    <message>
        <source>Orientation: %1</source>
        <translation>Orientación: %1</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volumen:</translation>
    </message>
    <message>
        <source>A series of several volumes (echoes, time points, diffusion directions, magnitude and phase): the volume to build.</source>
        <translation>Una serie de varios volúmenes (ecos, instantes, direcciones de difusión, magnitud y fase): el volumen que se construye.</translation>
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation>%1 de %2: %3</translation>
    </message>
    <message>
        <source>Orientation: from the NIfTI header</source>
        <translation>Orientación: de la cabecera NIfTI</translation>
    </message>
    <message>
        <source>No DICOM series in this folder (%1 files are not DICOM images).</source>
        <translation>No hay series DICOM en esta carpeta (%1 ficheros no son imágenes DICOM).</translation>
    </message>
    <message>
        <source>These files could not be read:
</source>
        <translation>No se han podido leer estos ficheros:
</translation>
    </message>
    <message>
        <source>No volume could be built:
</source>
        <translation>No se ha podido construir ningún volumen:
</translation>
    </message>
    <message>
        <source>No volume could be built from %1: it holds no series.</source>
        <translation>No se ha podido construir ningún volumen con %1: no contiene ninguna serie.</translation>
    </message>
</context>
<context>
    <name>FResonancia</name>
    <message>
        <source>View magnetic resonance</source>
        <translation>Ver resonancia magnética</translation>
    </message>
    <message>
        <source>Deep</source>
        <translation>Profundidad</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Deep: "%1" is not a number.</source>
        <translation>Profundidad: "%1" no es un número.</translation>
    </message>
</context>
<context>
    <name>FSelect</name>
    <message>
        <source>Select Points</source>
        <translation>Seleccionar puntos</translation>
    </message>
    <message>
        <source>Select Point 1</source>
        <translation>Seleccionar punto 1</translation>
    </message>
    <message>
        <source>Select Point 2</source>
        <translation>Seleccionar punto 2</translation>
    </message>
    <message>
        <source>Frame View</source>
        <translation>Vista del corte</translation>
    </message>
    <message>
        <source>(0.0, 0.0)</source>
        <translation>(0.0, 0.0)</translation>
    </message>
    <message>
        <source>(0.0 mm, 0.0 mm)</source>
        <translation>(0.0 mm, 0.0 mm)</translation>
    </message>
    <message>
        <source>Ilion</source>
        <translation>Inion</translation>
    </message>
    <message>
        <source>Select Inion Point</source>
        <translation>Seleccionar punto inion</translation>
    </message>
    <message>
        <source>Milimetres/pixels</source>
        <translation>Milímetros/píxel</translation>
    </message>
    <message>
        <source>Distance 1 - 2</source>
        <translation>Distancia 1 - 2</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Datos</translation>
    </message>
    <message>
        <source>Interslice:</source>
        <translation>Entre cortes:</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Zero Frame:</source>
        <translation>Corte cero:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>(%1, %2) mm</source>
        <translation>(%1, %2) mm</translation>
    </message>
    <message>
        <source>"%1" is not a number.</source>
        <translation>"%1" no es un número.</translation>
    </message>
    <message>
        <source>Select the Ilion Point</source>
        <translation>Seleccione el punto inion</translation>
    </message>
</context>
<context>
    <name>FVerEstimulo</name>
    <message>
        <source>View experiments</source>
        <translation>Ver experimentos</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Sujeto:</translation>
    </message>
    <message>
        <source>Experiment:</source>
        <translation>Experimento:</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Punto de estimulación:</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Tipo de estímulo</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Tipo de bobina</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Tipo de pulso</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensidad</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frecuencia</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientación</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation>Nº de pulsos</translation>
    </message>
    <message>
        <source>View magnetic resonance</source>
        <translation>Ver resonancia magnética</translation>
    </message>
    <message>
        <source>Perception</source>
        <translation>Percepción</translation>
    </message>
    <message>
        <source>Phosphene</source>
        <translation>Fosfeno</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Duda</translation>
    </message>
    <message>
        <source>Phosphene data</source>
        <translation>Datos del fosfeno</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Color:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brillo:</translation>
    </message>
    <message>
        <source>Draw:</source>
        <translation>Dibujo:</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Líneas</translation>
    </message>
    <message>
        <source>Fuse</source>
        <translation>Fusión</translation>
    </message>
    <message>
        <source>Mass center</source>
        <translation>Centro de masas</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Fecha:</translation>
    </message>
    <message>
        <source>Observaciones:</source>
        <translation>Observaciones:</translation>
    </message>
    <message>
        <source>Aply to this PERCEPTION</source>
        <translation>Aplicar a esta PERCEPCIÓN</translation>
    </message>
    <message>
        <source>Aply to ALL THE EXPERIMENT</source>
        <translation>Aplicar a TODO EL EXPERIMENTO</translation>
    </message>
    <message>
        <source>Aply to THIS SUBJECT</source>
        <translation>Aplicar a ESTE SUJETO</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Cualquiera</translation>
    </message>
    <message>
        <source>There is no information about the selected subject</source>
        <translation>No hay información del sujeto seleccionado</translation>
    </message>
    <message>
        <source>Undefined 'Coil type'</source>
        <translation>'Tipo de bobina' sin definir</translation>
    </message>
    <message>
        <source>Undefined 'Pulse Type'</source>
        <translation>'Tipo de pulso' sin definir</translation>
    </message>
    <message>
        <source>Undefined 'Fase'</source>
        <translation>'Fase' sin definir</translation>
    </message>
    <message>
        <source>Undefined 'Orientation'</source>
        <translation>'Orientación' sin definir</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <translation>No se ha cambiado nada.</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>The changes were not stored.

</source>
        <translation>No se han guardado los cambios.

</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to this perception?</source>
        <translation>¿Seguro que quiere aplicar los cambios a esta percepción?</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to this EXPERIMENT?</source>
        <translation>¿Seguro que quiere aplicar los cambios a este EXPERIMENTO?</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?</source>
        <translation>¿Seguro que quiere aplicar los cambios a TODO EL SUJETO (TODOS LOS EXPERIMENTOS)?</translation>
    </message>
</context>
<context>
    <name>GridAim</name>
    <message>
        <source>Landmarks 1 and 2 are the same point: they give the MR no scale.</source>
        <translation>Los puntos de referencia 1 y 2 son el mismo punto: no dan escala a la RM.</translation>
    </message>
    <message>
        <source>The Ilion point (%1, %2, %3) is not on the scalp: the grid would wrap around the head or aim at nothing. Mark it on the skin at the back of the head.</source>
        <translation>El punto Ilion (%1, %2, %3) no está en el cuero cabelludo: la rejilla daría la vuelta a la cabeza o no apuntaría a nada. Márquelo sobre la piel en la parte posterior de la cabeza.</translation>
    </message>
    <message>
        <source>The aiming meets no scalp at cells %1 (the field of view cuts the head there); they are left empty.</source>
        <translation>La puntería no encuentra cuero cabelludo en las celdas %1 (el campo de visión corta ahí la cabeza); se dejan vacías.</translation>
    </message>
</context>
<context>
    <name>GroupMap</name>
    <message>
        <source>Cannot read the subjects</source>
        <translation>No se pueden leer los sujetos</translation>
    </message>
    <message>
        <source>subject %1 (no MR calibration)</source>
        <translation>sujeto %1 (sin calibración de RM)</translation>
    </message>
    <message>
        <source>subject %1 (%2)</source>
        <translation>sujeto %1 (%2)</translation>
    </message>
    <message>
        <source>subject %1 (not normalised)</source>
        <translation>sujeto %1 (sin normalizar)</translation>
    </message>
</context>
<context>
    <name>ImagingState</name>
    <message>
        <source>The Ilion point lies at the head centre: the head radius is 0, so the grid cannot be placed on the MR.</source>
        <translation>El punto inion está en el centro de la cabeza: el radio de la cabeza es 0, así que la rejilla no se puede situar sobre la RM.</translation>
    </message>
</context>
<context>
    <name>IntroEstimulo</name>
    <message>
        <source>Experiment - Introducing magnetic stimulation results</source>
        <translation>Experimento - Registro de resultados de la estimulación magnética</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Punto de estimulación:</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Tipo de estímulo</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Tipo de bobina</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Tipo de pulso</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensidad</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frecuencia</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientación</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation>Nº de pulsos</translation>
    </message>
    <message>
        <source>View magnetic resonance</source>
        <translation>Ver resonancia magnética</translation>
    </message>
    <message>
        <source>Perception</source>
        <translation>Percepción</translation>
    </message>
    <message>
        <source>Phosphene</source>
        <translation>Fosfeno</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Duda</translation>
    </message>
    <message>
        <source>Phosphene data</source>
        <translation>Datos del fosfeno</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Color:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brillo:</translation>
    </message>
    <message>
        <source>Draw:</source>
        <translation>Dibujo:</translation>
    </message>
    <message>
        <source>Observations:</source>
        <translation>Observaciones:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpiar</translation>
    </message>
    <message>
        <source>Save and continue</source>
        <translation>Guardar y seguir</translation>
    </message>
    <message>
        <source>Arrow keys move the selection</source>
        <translation>Las flechas mueven la selección</translation>
    </message>
    <message>
        <source>There is no experiment. Next: Start new experiment.</source>
        <translation>No hay ningún experimento. Siguiente paso: empezar un experimento nuevo.</translation>
    </message>
    <message>
        <source>Nothing was saved.</source>
        <translation>No se ha guardado nada.</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The stimulus was not saved.

</source>
        <translation>No se ha guardado el estímulo.

</translation>
    </message>
    <message>
        <source>The stimulus was not deleted.

</source>
        <translation>No se ha borrado el estímulo.

</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Idioma del sistema</translation>
    </message>
    <message>
        <source>Original texts (C)</source>
        <translation>Textos originales (C)</translation>
    </message>
    <message>
        <source>Windows opened from now on use the language chosen.</source>
        <translation>Las ventanas que se abran a partir de ahora usan el idioma elegido.</translation>
    </message>
</context>
<context>
    <name>LegacyImport</name>
    <message>
        <source>The table %1 of %2 cannot be read.</source>
        <translation>No se puede leer la tabla %1 de %2.</translation>
    </message>
    <message>
        <source>The table list of %1 cannot be read; the file may be damaged.</source>
        <translation>No se puede leer la lista de tablas de %1; puede que el fichero esté dañado.</translation>
    </message>
    <message>
        <source>Cannot add the column %1 to %2</source>
        <translation>No se puede añadir la columna %1 a %2</translation>
    </message>
    <message>
        <source>the value cannot be decoded</source>
        <translation>no se puede descodificar el valor</translation>
    </message>
    <message>
        <source>Cannot prepare the copy of %1</source>
        <translation>No se puede preparar la copia de %1</translation>
    </message>
    <message>
        <source>Row %1 of %2 cannot be read; the file may be damaged.</source>
        <translation>No se puede leer la fila %1 de %2; puede que el fichero esté dañado.</translation>
    </message>
    <message>
        <source>Row %1 of %2 is damaged.</source>
        <translation>La fila %1 de %2 está dañada.</translation>
    </message>
    <message>
        <source>Row %1 of %2 cannot be stored</source>
        <translation>No se puede guardar la fila %1 de %2</translation>
    </message>
    <message>
        <source>The import was cancelled.</source>
        <translation>Se ha cancelado la importación.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 rows of %3 could be read; the file may be damaged.</source>
        <translation>Solo se han podido leer %1 de las %2 filas de %3; puede que el fichero esté dañado.</translation>
    </message>
    <message>
        <source>The study does not hold every row of %1 after the copy.</source>
        <translation>Tras la copia, el estudio no contiene todas las filas de %1.</translation>
    </message>
    <message>
        <source>Cannot write the study %1: %2</source>
        <translation>No se puede escribir el estudio %1: %2</translation>
    </message>
    <message>
        <source>a file of that name appeared meanwhile</source>
        <translation>entretanto ha aparecido un fichero con ese nombre</translation>
    </message>
    <message>
        <source>the file could not be renamed into place</source>
        <translation>no se ha podido renombrar el fichero a su sitio</translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 no existe.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>%1 is not an Access (Jet) data base.</source>
        <translation>%1 no es una base de datos de Access (Jet).</translation>
    </message>
    <message>
        <source>%1 is an Access 2007 or later data base; only Jet 3 and Jet 4 (.mdb) files can be imported.</source>
        <translation>%1 es una base de datos de Access 2007 o posterior; solo se pueden importar ficheros Jet 3 y Jet 4 (.mdb).</translation>
    </message>
    <message>
        <source>%1 is damaged or truncated: it is shorter (%2 bytes) than the two pages every Access data base starts with.</source>
        <translation>%1 está dañado o truncado: es más corto (%2 bytes) que las dos páginas con que empieza toda base de datos de Access.</translation>
    </message>
    <message>
        <source>%1 cannot be read as an Access data base.</source>
        <translation>%1 no se puede leer como base de datos de Access.</translation>
    </message>
    <message>
        <source>%1 is not a ZoKorvane study: it has no table %2.</source>
        <translation>%1 no es un estudio de ZoKorvane: no tiene la tabla %2.</translation>
    </message>
    <message>
        <source>%1 already exists; an import never writes over an existing study.</source>
        <translation>%1 ya existe; una importación nunca escribe sobre un estudio existente.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Zo Magnetic Stimulation Data Base</source>
        <translation>Zo Base de datos de estimulación magnética</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Sujetos</translation>
    </message>
    <message>
        <source>&amp;Results</source>
        <translation>&amp;Resultados</translation>
    </message>
    <message>
        <source>&amp;Experiments</source>
        <translation>&amp;Experimentos</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;Open data base...</source>
        <translation>&amp;Abrir base de datos...</translation>
    </message>
    <message>
        <source>Open &amp;server study...</source>
        <translation>Abrir estudio del &amp;servidor...</translation>
    </message>
    <message>
        <source>&amp;Back up study...</source>
        <translation>&amp;Copia de seguridad del estudio...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Select Subject...</source>
        <translation>&amp;Seleccionar sujeto...</translation>
    </message>
    <message>
        <source>&amp;Subjects Form...</source>
        <translation>&amp;Ficha de sujetos...</translation>
    </message>
    <message>
        <source>&amp;Load asociated MR...</source>
        <translation>&amp;Cargar RM asociada...</translation>
    </message>
    <message>
        <source>&amp;Comparing stimulations...</source>
        <translation>&amp;Comparar estimulaciones...</translation>
    </message>
    <message>
        <source>Phosphene &amp;map...</source>
        <translation>&amp;Mapa de fosfenos...</translation>
    </message>
    <message>
        <source>E&amp;xport study...</source>
        <translation>E&amp;xportar estudio...</translation>
    </message>
    <message>
        <source>&amp;Print subject report</source>
        <translation>&amp;Imprimir informe del sujeto</translation>
    </message>
    <message>
        <source>Save subject report as PDF...</source>
        <translation>Guardar informe del sujeto como PDF...</translation>
    </message>
    <message>
        <source>&amp;New experiment...</source>
        <translation>&amp;Nuevo experimento...</translation>
    </message>
    <message>
        <source>&amp;Continue last experiment...</source>
        <translation>&amp;Continuar el último experimento...</translation>
    </message>
    <message>
        <source>&amp;View experiments...</source>
        <translation>&amp;Ver experimentos...</translation>
    </message>
    <message>
        <source>&amp;Edit experiments...</source>
        <translation>&amp;Editar experimentos...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Acerca &amp;de...</translation>
    </message>
    <message>
        <source>Datos: ninguno</source>
        <translation>Base de datos: ninguna</translation>
    </message>
    <message>
        <source>Paciente: ninguno</source>
        <translation>Sujeto: ninguno</translation>
    </message>
    <message>
        <source>Data Base|*.sqlite;*.mdb</source>
        <translation>Base de datos|*.sqlite;*.mdb</translation>
    </message>
    <message>
        <source>Select a Data Base</source>
        <translation>Seleccione una base de datos</translation>
    </message>
    <message>
        <source>A server study is backed up by its server (pg_dump).</source>
        <translation>La copia de seguridad de un estudio del servidor la hace el propio servidor (pg_dump).</translation>
    </message>
    <message>
        <source>Back up study</source>
        <translation>Copia de seguridad del estudio</translation>
    </message>
    <message>
        <source>Study (*.sqlite)</source>
        <translation>Estudio (*.sqlite)</translation>
    </message>
    <message>
        <source>The study was backed up to %1.</source>
        <translation>Se ha hecho la copia de seguridad del estudio en %1.</translation>
    </message>
    <message>
        <source>Backed up to %1</source>
        <translation>Copia de seguridad en %1</translation>
    </message>
    <message>
        <source>Today's backup of the study could not be written.

%1</source>
        <translation>No se ha podido escribir la copia de seguridad de hoy del estudio.

%1</translation>
    </message>
    <message>
        <source>Importing %1...</source>
        <translation>Importando %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cannot import %1.

%2</source>
        <translation>No se puede importar %1.

%2</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Password for %1:</source>
        <translation>Contraseña de %1:</translation>
    </message>
    <message>
        <source>Cannot open the data base %1.

%2</source>
        <translation>No se puede abrir la base de datos %1.

%2</translation>
    </message>
    <message>
        <source>Data Base: </source>
        <translation>Base de datos: </translation>
    </message>
    <message>
        <source> (read only)</source>
        <translation> (solo lectura)</translation>
    </message>
    <message>
        <source>Subject: none</source>
        <translation>Sujeto: ninguno</translation>
    </message>
    <message>
        <source>No Subjects</source>
        <translation>No hay sujetos</translation>
    </message>
    <message>
        <source>Sorry, we can´t print the report</source>
        <translation>Lo sentimos, no se puede imprimir el informe</translation>
    </message>
    <message>
        <source>Printer error</source>
        <translation>Error de impresora</translation>
    </message>
    <message>
        <source>Subject report</source>
        <translation>Informe del sujeto</translation>
    </message>
    <message>
        <source>Save subject report as PDF</source>
        <translation>Guardar informe del sujeto como PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Cannot write the report to %1.

%2</source>
        <translation>No se puede escribir el informe en %1.

%2</translation>
    </message>
    <message>
        <source>There is no information to this subject</source>
        <translation>No hay información de este sujeto</translation>
    </message>
    <message>
        <source>ZoKorvane version </source>
        <translation>ZoKorvane versión </translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Idioma...</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>No se puede escribir %1.</translation>
    </message>
</context>
<context>
    <name>MainWindowModel</name>
    <message>
        <source>A study converted from %1 already exists:
%2

Open the existing study instead?</source>
        <translation>Ya existe un estudio convertido de %1:
%2

¿Abrir el estudio existente en su lugar?</translation>
    </message>
    <message>
        <source>%1 was converted into the study %2:
%3 subjects, %4 points and %5 stimuli.</source>
        <translation>%1 se ha convertido en el estudio %2:
%3 sujetos, %4 puntos y %5 estímulos.</translation>
    </message>
    <message>
        <source>
%1 drawings were copied into the study.</source>
        <translation>
Se han copiado %1 dibujos al estudio.</translation>
    </message>
    <message>
        <source>

These drawings were missing or could not be read:
</source>
        <translation>

Estos dibujos faltaban o no se han podido leer:
</translation>
    </message>
    <message>
        <source>

These values could not be carried over exactly:
</source>
        <translation>

Estos valores no se han podido trasladar exactamente:
</translation>
    </message>
</context>
<context>
    <name>Normalise</name>
    <message>
        <source>Subject %1 has no MR calibration: accept the point selection on the subject's MR first</source>
        <translation>El sujeto %1 no tiene calibración de RM: acepte primero la selección de puntos en la RM del sujeto</translation>
    </message>
    <message>
        <source>Registering (level %1 of %2)</source>
        <translation>Registrando (nivel %1 de %2)</translation>
    </message>
    <message>
        <source>The normalisation was cancelled; nothing was stored.</source>
        <translation>Se ha cancelado la normalización; no se ha guardado nada.</translation>
    </message>
    <message>
        <source>Loading the series</source>
        <translation>Cargando la serie</translation>
    </message>
    <message>
        <source>Loading the template</source>
        <translation>Cargando la plantilla</translation>
    </message>
    <message>
        <source>The template is not a volume: %1</source>
        <translation>La plantilla no es un volumen: %1</translation>
    </message>
    <message>
        <source>The template %1 is not a head volume (%2 x %3 x %4 voxels)</source>
        <translation>La plantilla %1 no es un volumen de cabeza (%2 x %3 x %4 vóxeles)</translation>
    </message>
    <message>
        <source>The registration did not find a head: its scales %1, %2, %3 lie outside %4 to %5; nothing was stored.</source>
        <translation>El registro no ha encontrado una cabeza: sus escalas %1, %2, %3 quedan fuera del intervalo de %4 a %5; no se ha guardado nada.</translation>
    </message>
    <message>
        <source>The registration did not find a head: the mutual information %1 is above %2; nothing was stored.</source>
        <translation>El registro no ha encontrado una cabeza: la información mutua %1 es mayor que %2; no se ha guardado nada.</translation>
    </message>
    <message>
        <source>The registration gave no usable affine (%1); nothing was stored.</source>
        <translation>El registro no ha dado ninguna transformación afín utilizable (%1); no se ha guardado nada.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminado</translation>
    </message>
</context>
<context>
    <name>NormaliseDialog</name>
    <message>
        <source>Normalising subject %1 to the template head...</source>
        <translation>Normalizando al sujeto %1 a la cabeza de la plantilla...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Normalise</source>
        <translation>Normalizar</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>Deteniendo...</translation>
    </message>
    <message>
        <source>Subject %1 was not normalised: %2</source>
        <translation>El sujeto %1 no se ha normalizado: %2</translation>
    </message>
    <message>
        <source>Normalise subject %1 to the template head now? Its targets then get MNI coordinates and atlas areas (about ten seconds; it can be cancelled).</source>
        <translation>¿Normalizar ahora al sujeto %1 a la cabeza de la plantilla? Sus dianas obtendrán así coordenadas MNI y áreas del atlas (unos diez segundos; se puede cancelar).</translation>
    </message>
</context>
<context>
    <name>NumericField</name>
    <message>
        <source>%1 must be a whole number from %2 to %3; "%4" is not. %5</source>
        <translation>%1 debe ser un número entero de %2 a %3; "%4" no lo es. %5</translation>
    </message>
</context>
<context>
    <name>ParameterLists</name>
    <message>
        <source>Magstim en ocho</source>
        <translation>Magstim en ocho</translation>
    </message>
    <message>
        <source>Magstim Redonda</source>
        <translation>Magstim redonda</translation>
    </message>
    <message>
        <source>Cadwell en ocho</source>
        <translation>Cadwell en ocho</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Simple</translation>
    </message>
    <message>
        <source>Repetitive</source>
        <translation>Repetitivo</translation>
    </message>
    <message>
        <source>Two</source>
        <translation>Doble</translation>
    </message>
    <message>
        <source>Monofásico</source>
        <translation>Monofásico</translation>
    </message>
    <message>
        <source>Bifáisco</source>
        <translation>Bifásico</translation>
    </message>
    <message>
        <source>Up-Down</source>
        <translation>Arriba-abajo</translation>
    </message>
    <message>
        <source>Down-Up</source>
        <translation>Abajo-arriba</translation>
    </message>
    <message>
        <source>Left-Right</source>
        <translation>Izquierda-derecha</translation>
    </message>
    <message>
        <source>Right-Left</source>
        <translation>Derecha-izquierda</translation>
    </message>
</context>
<context>
    <name>PhantomWriter</name>
    <message>
        <source>Cannot create the directory %1.</source>
        <translation>No se puede crear el directorio %1.</translation>
    </message>
    <message>
        <source>A phantom needs at least 2 slices of 8 x 8 to 65535 x 65535 pixels, positive spacings and finite numbers.</source>
        <translation>Un maniquí necesita al menos 2 cortes de 8 x 8 a 65535 x 65535 píxeles, espaciados positivos y números finitos.</translation>
    </message>
</context>
<context>
    <name>PhospheneMap</name>
    <message>
        <source>The filter has bounds that are not whole numbers</source>
        <translation>El filtro tiene límites que no son números enteros</translation>
    </message>
    <message>
        <source>Cannot count the stimuli</source>
        <translation>No se pueden contar los estímulos</translation>
    </message>
    <message>
        <source>Cannot read the drawings of the cell</source>
        <translation>No se pueden leer los dibujos de la celda</translation>
    </message>
    <message>
        <source>Phosphene rate</source>
        <translation>Tasa de fosfenos</translation>
    </message>
    <message>
        <source>Phosphene rate
yes/no/doubt</source>
        <translation>Tasa de fosfenos
sí/no/duda</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>Share of</source>
        <translation>Proporción de</translation>
    </message>
    <message>
        <source>Cell %1: %2 drawing%3</source>
        <translation>Celda %1: %2 dibujo%3</translation>
    </message>
    <message>
        <source>No cell chosen</source>
        <translation>Ninguna celda elegida</translation>
    </message>
    <message>
        <source>Share of
drawings</source>
        <translation>Proporción de
dibujos</translation>
    </message>
</context>
<context>
    <name>PhospheneMapWindow</name>
    <message>
        <source>Phosphene map</source>
        <translation>Mapa de fosfenos</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Sujetos</translation>
    </message>
    <message>
        <source>&amp;All subjects</source>
        <translation>&amp;Todos los sujetos</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Tipo de estímulo</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation>Nº de pulsos</translation>
    </message>
    <message>
        <source>any</source>
        <translation>cualquiera</translation>
    </message>
    <message>
        <source># pulses from</source>
        <translation>Nº de pulsos desde</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source># pulses to</source>
        <translation>Nº de pulsos hasta</translation>
    </message>
    <message>
        <source>Frequency (Hz)</source>
        <translation>Frecuencia (Hz)</translation>
    </message>
    <message>
        <source>Frequency from</source>
        <translation>Frecuencia desde</translation>
    </message>
    <message>
        <source>Frequency to</source>
        <translation>Frecuencia hasta</translation>
    </message>
    <message>
        <source>Intensity (%)</source>
        <translation>Intensidad (%)</translation>
    </message>
    <message>
        <source>Intensity from</source>
        <translation>Intensidad desde</translation>
    </message>
    <message>
        <source>Intensity to</source>
        <translation>Intensidad hasta</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Tipo de bobina</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Tipo de pulso</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientación</translation>
    </message>
    <message>
        <source>color: #a00000;</source>
        <translation>color: #a00000;</translation>
    </message>
    <message>
        <source>Click a cell or move with the arrow keys to see its drawings</source>
        <translation>Pulse en una celda o muévase con las flechas para ver sus dibujos</translation>
    </message>
    <message>
        <source>Density of the cell's drawings</source>
        <translation>Densidad de los dibujos de la celda</translation>
    </message>
    <message>
        <source>Save &amp;map...</source>
        <translation>Guardar &amp;mapa...</translation>
    </message>
    <message>
        <source>Save &amp;density...</source>
        <translation>Guardar &amp;densidad...</translation>
    </message>
    <message>
        <source>Save &amp;numbers...</source>
        <translation>Guardar &amp;números...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source># pulses (from)</source>
        <translation>Nº de pulsos (desde)</translation>
    </message>
    <message>
        <source># pulses (to)</source>
        <translation>Nº de pulsos (hasta)</translation>
    </message>
    <message>
        <source>Frequency (from)</source>
        <translation>Frecuencia (desde)</translation>
    </message>
    <message>
        <source>Frequency (to)</source>
        <translation>Frecuencia (hasta)</translation>
    </message>
    <message>
        <source>Intensity (from)</source>
        <translation>Intensidad (desde)</translation>
    </message>
    <message>
        <source>Intensity (to)</source>
        <translation>Intensidad (hasta)</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Cualquiera</translation>
    </message>
    <message>
        <source>Save the phosphene map</source>
        <translation>Guardar el mapa de fosfenos</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>Imagen PNG (*.png)</translation>
    </message>
    <message>
        <source>Save the density of the cell's drawings</source>
        <translation>Guardar la densidad de los dibujos de la celda</translation>
    </message>
    <message>
        <source>Save the numbers of the map</source>
        <translation>Guardar los números del mapa</translation>
    </message>
    <message>
        <source>CSV table (*.csv)</source>
        <translation>Tabla CSV (*.csv)</translation>
    </message>
    <message>
        <source>
The map waits until the bounds are whole numbers or empty.</source>
        <translation>
El mapa espera a que los límites sean números enteros o estén vacíos.</translation>
    </message>
    <message>
        <source>Choose one subject or more.</source>
        <translation>Elija uno o más sujetos.</translation>
    </message>
    <message>
        <source>%1 stimuli of %2 subjects on the map%3. Each cell: phosphene rate, stimuli (n), answers yes/no/doubt.</source>
        <translation>%1 estímulos de %2 sujetos en el mapa%3. Cada celda: tasa de fosfenos, estímulos (n), respuestas sí/no/duda.</translation>
    </message>
    <message>
        <source>; %1 more count for no cell</source>
        <translation>; otros %1 no cuentan para ninguna celda</translation>
    </message>
    <message>
        <source>Cell %1: %2 stimuli, %3 yes, %4 no, %5 doubt; %6 drawings.</source>
        <translation>Celda %1: %2 estímulos, %3 sí, %4 no, %5 duda; %6 dibujos.</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Rejilla</translation>
    </message>
    <message>
        <source>On the MR</source>
        <translation>En la RM</translation>
    </message>
    <message>
        <source>Targets on the MR</source>
        <translation>Dianas en la RM</translation>
    </message>
    <message>
        <source>Click a target to see the drawings of its cell</source>
        <translation>Pulse en una diana para ver los dibujos de su celda</translation>
    </message>
    <message>
        <source>De&amp;pth (mm)</source>
        <translation>Pro&amp;fundidad (mm)</translation>
    </message>
    <message>
        <source>Save si&amp;tes...</source>
        <translation>Guardar s&amp;itios...</translation>
    </message>
    <message>
        <source>Save &amp;overlay...</source>
        <translation>Guardar s&amp;uperposición...</translation>
    </message>
    <message>
        <source>Save the stimulation sites</source>
        <translation>Guardar los sitios de estimulación</translation>
    </message>
    <message>
        <source>TSV table (*.tsv)</source>
        <translation>Tabla TSV (*.tsv)</translation>
    </message>
    <message>
        <source>Save the sites as an overlay of the MR</source>
        <translation>Guardar los sitios como superposición de la RM</translation>
    </message>
    <message>
        <source>NIfTI volume (*.nii.gz *.nii)</source>
        <translation>Volumen NIfTI (*.nii.gz *.nii)</translation>
    </message>
    <message>
        <source>The map has nothing to show yet.</source>
        <translation>El mapa aún no tiene nada que mostrar.</translation>
    </message>
    <message>
        <source>Choose one subject to see its targets on its MR.</source>
        <translation>Elija un sujeto para ver sus dianas en su RM.</translation>
    </message>
    <message>
        <source>Subject %1 has no stored MR calibration: load its associated MR and accept the point selection.</source>
        <translation>El sujeto %1 no tiene guardada una calibración de RM: cargue su RM asociada y acepte la selección de puntos.</translation>
    </message>
    <message>
        <source>Subject %1: targets on the straight line to the head centre.</source>
        <translation>Sujeto %1: dianas en la línea recta hacia el centro de la cabeza.</translation>
    </message>
    <message>
        <source>In the brain</source>
        <translation>En el cerebro</translation>
    </message>
    <message>
        <source>Targets in the brain</source>
        <translation>Dianas en el cerebro</translation>
    </message>
    <message>
        <source>The chosen subjects' targets on the template head, seen from behind, coloured by their phosphene rate; click one to see the drawings of its cell</source>
        <translation>Las dianas de los sujetos elegidos sobre la cabeza de la plantilla, vistas desde detrás y coloreadas según su tasa de fosfenos; pulse en una para ver los dibujos de su celda</translation>
    </message>
    <message>
        <source>Areas reached</source>
        <translation>Áreas alcanzadas</translation>
    </message>
    <message>
        <source>No&amp;rmalise...</source>
        <translation>No&amp;rmalizar...</translation>
    </message>
    <message>
        <source>Save &amp;group map...</source>
        <translation>Guardar mapa de &amp;grupo...</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Área</translation>
    </message>
    <message>
        <source>Subjects</source>
        <translation>Sujetos</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Celdas</translation>
    </message>
    <message>
        <source>Stimuli</source>
        <translation>Estímulos</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Duda</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Tasa</translation>
    </message>
    <message>
        <source>Save the group map</source>
        <translation>Guardar el mapa de grupo</translation>
    </message>
    <message>
        <source>No&amp;rmalise subject %1...</source>
        <translation>No&amp;rmalizar al sujeto %1...</translation>
    </message>
    <message>
        <source>None of the chosen subjects is normalised, or none of their cells has stimuli of this type. A calibrated subject is normalised with Normalise....</source>
        <translation>Ninguno de los sujetos elegidos está normalizado, o ninguna de sus celdas tiene estímulos de este tipo. Un sujeto calibrado se normaliza con Normalizar....</translation>
    </message>
    <message>
        <source>%1 targets of %2 subjects in MNI space.</source>
        <translation>%1 dianas de %2 sujetos en el espacio MNI.</translation>
    </message>
    <message>
        <source>Left out: %1</source>
        <translation>Excluidos: %1</translation>
    </message>
    <message>
        <source>subject %1, cell %2</source>
        <translation>sujeto %1, celda %2</translation>
    </message>
    <message>
        <source>%1 template seen from behind; targets %2 mm deep</source>
        <translation>Plantilla %1 vista desde detrás; dianas a %2 mm de profundidad</translation>
    </message>
</context>
<context>
    <name>Query</name>
    <message>
        <source>The study holds %1 in the column %2 of the table %3, where only whole numbers from %4 to %5 fit</source>
        <translation>El estudio guarda %1 en la columna %2 de la tabla %3, donde solo caben números enteros de %4 a %5</translation>
    </message>
    <message>
        <source>The study could not be read to its end</source>
        <translation>No se ha podido leer el estudio hasta el final</translation>
    </message>
</context>
<context>
    <name>ReportOutput</name>
    <message>
        <source>There is no default printer</source>
        <translation>No hay impresora predeterminada</translation>
    </message>
    <message>
        <source>Subject report</source>
        <translation>Informe del sujeto</translation>
    </message>
    <message>
        <source>the report could not be laid out</source>
        <translation>no se ha podido maquetar el informe</translation>
    </message>
</context>
<context>
    <name>ReportPage</name>
    <message>
        <source>The printer cannot start the document</source>
        <translation>La impresora no puede empezar el documento</translation>
    </message>
    <message>
        <source>The printer cannot start a new page</source>
        <translation>La impresora no puede empezar una página nueva</translation>
    </message>
    <message>
        <source>The printer cannot finish the document</source>
        <translation>La impresora no puede terminar el documento</translation>
    </message>
</context>
<context>
    <name>ReviewModel</name>
    <message>
        <source>Edit experiments</source>
        <translation>Editar experimentos</translation>
    </message>
    <message>
        <source>View experiments</source>
        <translation>Ver experimentos</translation>
    </message>
</context>
<context>
    <name>SafeWrite</name>
    <message>
        <source>it is a symbolic link; nothing is written through one</source>
        <translation>es un enlace simbólico; nunca se escribe a través de uno</translation>
    </message>
    <message>
        <source>only part of the file reached the disk</source>
        <translation>solo parte del fichero ha llegado al disco</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>no file name was given</source>
        <translation>no se ha dado ningún nombre de fichero</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, a FIFO or a folder); nothing replaces it</source>
        <translation>no es un archivo normal (un dispositivo, un FIFO o una carpeta); nada lo sustituye</translation>
    </message>
</context>
<context>
    <name>SeriesLoader</name>
    <message>
        <source>Cannot create the picture cache %1</source>
        <translation>No se puede crear la caché de imágenes %1</translation>
    </message>
    <message>
        <source>Cannot write the pictures of the volume to %1</source>
        <translation>No se pueden escribir las imágenes del volumen en %1</translation>
    </message>
</context>
<context>
    <name>ServerStudy</name>
    <message>
        <source>Cannot read which tables the study has</source>
        <translation>No se puede leer qué tablas tiene el estudio</translation>
    </message>
    <message>
        <source>not a connection URI</source>
        <translation>no es una URI de conexión</translation>
    </message>
    <message>
        <source>The server address cannot be read: </source>
        <translation>No se puede leer la dirección del servidor: </translation>
    </message>
    <message>
        <source>This installation cannot reach PostgreSQL servers (the Qt driver QPSQL is missing; on Debian it is the package libqt6sql6-psql).</source>
        <translation>Esta instalación no puede conectar con servidores PostgreSQL (falta el controlador QPSQL de Qt; en Debian es el paquete libqt6sql6-psql).</translation>
    </message>
    <message>
        <source>The server refused the connection: </source>
        <translation>El servidor ha rechazado la conexión: </translation>
    </message>
    <message>
        <source>Cannot take the study's write lock</source>
        <translation>No se puede obtener el bloqueo de escritura del estudio</translation>
    </message>
    <message>
        <source>The server lets the role %1 read this study but not change it: recording, correcting and editing subjects are off.</source>
        <translation>El servidor permite al rol %1 leer este estudio pero no modificarlo: registrar, corregir y editar sujetos quedan desactivados.</translation>
    </message>
</context>
<context>
    <name>ServerStudyDialog</name>
    <message>
        <source>Open server study</source>
        <translation>Abrir estudio del servidor</translation>
    </message>
    <message>
        <source>&amp;Host</source>
        <translation>&amp;Servidor</translation>
    </message>
    <message>
        <source>this computer, or a socket folder such as /run/postgresql</source>
        <translation>este ordenador, o una carpeta de socket como /run/postgresql</translation>
    </message>
    <message>
        <source>&amp;Port</source>
        <translation>&amp;Puerto</translation>
    </message>
    <message>
        <source>5432</source>
        <translation>5432</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>&amp;Base de datos</translation>
    </message>
    <message>
        <source>&amp;User</source>
        <translation>&amp;Usuario</translation>
    </message>
    <message>
        <source>your login name</source>
        <translation>su nombre de usuario</translation>
    </message>
    <message>
        <source>The password is asked for when the server wants one (or read from ~/.pgpass) and is never stored.</source>
        <translation>La contraseña se pide cuando el servidor la requiere (o se lee de ~/.pgpass) y nunca se guarda.</translation>
    </message>
</context>
<context>
    <name>SharedQueries</name>
    <message>
        <source>Cannot read the study</source>
        <translation>No se puede leer el estudio</translation>
    </message>
    <message>
        <source>Cannot store the MR directory of the subject</source>
        <translation>No se puede guardar la carpeta de RM del sujeto</translation>
    </message>
</context>
<context>
    <name>SitesPicture</name>
    <message>
        <source>Phosphene rate</source>
        <translation>Tasa de fosfenos</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>Seen from behind; targets %1 mm deep</source>
        <translation>Vista desde detrás; dianas a %1 mm de profundidad</translation>
    </message>
</context>
<context>
    <name>StimulationComparison</name>
    <message>
        <source>empty: type a whole number</source>
        <translation>vacío: escriba un número entero</translation>
    </message>
    <message>
        <source>"%1" is not a whole number</source>
        <translation>"%1" no es un número entero</translation>
    </message>
    <message>
        <source>The filter has bounds that are not whole numbers</source>
        <translation>El filtro tiene límites que no son números enteros</translation>
    </message>
    <message>
        <source>Cannot read the stimuli to compare</source>
        <translation>No se pueden leer los estímulos que comparar</translation>
    </message>
</context>
<context>
    <name>StimulationSites</name>
    <message>
        <source>No volume could be built from %1</source>
        <translation>No se ha podido construir ningún volumen a partir de %1</translation>
    </message>
    <message>
        <source>A depth of %1 mm reaches past the head centre, %2 mm beneath the scalp at cell %3.</source>
        <translation>Una profundidad de %1 mm pasa del centro de la cabeza, a %2 mm bajo el cuero cabelludo en la celda %3.</translation>
    </message>
    <message>
        <source>Subject %1: %2</source>
        <translation>Sujeto %1: %2</translation>
    </message>
    <message>
        <source>Subject %1 was normalised on another series than the one calibrated; normalise it again</source>
        <translation>El sujeto %1 se normalizó sobre una serie distinta de la calibrada; normalícelo de nuevo</translation>
    </message>
</context>
<context>
    <name>StimulusStore</name>
    <message>
        <source>Cannot read the stimulation points</source>
        <translation>No se pueden leer los puntos de estimulación</translation>
    </message>
    <message>
        <source>Cannot store the stimulation point</source>
        <translation>No se puede guardar el punto de estimulación</translation>
    </message>
    <message>
        <source>Cannot store the stimulus</source>
        <translation>No se puede guardar el estímulo</translation>
    </message>
    <message>
        <source>Cannot read the stimuli of the point</source>
        <translation>No se pueden leer los estímulos del punto</translation>
    </message>
    <message>
        <source>Cannot delete the stimulus</source>
        <translation>No se puede borrar el estímulo</translation>
    </message>
    <message>
        <source>Cannot delete the stimulation point</source>
        <translation>No se puede borrar el punto de estimulación</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>No se pueden leer los estímulos</translation>
    </message>
    <message>
        <source>Cannot read the points of the experiment</source>
        <translation>No se pueden leer los puntos del experimento</translation>
    </message>
</context>
<context>
    <name>StoredCalibration</name>
    <message>
        <source>The aiming at cell %1 of subject %2 meets the scalp at the head centre.</source>
        <translation>La puntería a la celda %1 del sujeto %2 encuentra el cuero cabelludo en el centro de la cabeza.</translation>
    </message>
    <message>
        <source>no NIfTI header</source>
        <translation>no tiene cabecera NIfTI</translation>
    </message>
    <message>
        <source>The stored MR calibration of subject %1 is refused: %2 (%3, %4, %5) lies outside the volume of %6 x %7 x %8 voxels. Mark the landmarks again.</source>
        <translation>Se rechaza la calibración de RM guardada del sujeto %1: %2 (%3, %4, %5) queda fuera del volumen de %6 x %7 x %8 vóxeles. Marque de nuevo los puntos de referencia.</translation>
    </message>
</context>
<context>
    <name>StoredValue</name>
    <message>
        <source>Cannot read the table %1</source>
        <translation>No se puede leer la tabla %1</translation>
    </message>
    <message>
        <source>%1: in the table %2, row %3, column %4, the text "%5" is not valid UTF-8.</source>
        <translation>%1: en la tabla %2, fila %3, columna %4, el texto "%5" no es UTF-8 válido.</translation>
    </message>
</context>
<context>
    <name>Study</name>
    <message>
        <source>Cannot create the aiming table</source>
        <translation>No se puede crear la tabla de punterías</translation>
    </message>
    <message>
        <source>Cannot create the drawings table</source>
        <translation>No se puede crear la tabla de dibujos</translation>
    </message>
    <message>
        <source>Cannot set the study's version</source>
        <translation>No se puede fijar la versión del estudio</translation>
    </message>
    <message>
        <source>It was made by an earlier version and could not be brought up to date: </source>
        <translation>Lo creó una versión anterior y no se ha podido actualizar: </translation>
    </message>
    <message>
        <source>It is not a ZoKorvane study: it has no table %1.</source>
        <translation>No es un estudio de ZoKorvane: no tiene la tabla %1.</translation>
    </message>
    <message>
        <source>Its study version is %1; this version of ZoKorvane works on version %2.</source>
        <translation>Su versión de estudio es la %1; esta versión de ZoKorvane trabaja con la versión %2.</translation>
    </message>
    <message>
        <source>No file was given.</source>
        <translation>No se ha dado ningún fichero.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>El fichero no existe.</translation>
    </message>
    <message>
        <source>It is a folder, not a data base file.</source>
        <translation>Es una carpeta, no un fichero de base de datos.</translation>
    </message>
    <message>
        <source>The file cannot be read (permission denied).</source>
        <translation>No se puede leer el fichero (permiso denegado).</translation>
    </message>
    <message>
        <source>It is a legacy Access data base (.mdb); it has to be imported first.</source>
        <translation>Es una base de datos antigua de Access (.mdb); primero hay que importarla.</translation>
    </message>
    <message>
        <source>The file is read-only; experiments could not be stored in it.</source>
        <translation>El fichero es de solo lectura; no se podrían guardar experimentos en él.</translation>
    </message>
    <message>
        <source>Its folder is read-only; the data base engine needs to write beside the file.</source>
        <translation>Su carpeta es de solo lectura; el motor de base de datos necesita escribir junto al fichero.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>No es un fichero normal.</translation>
    </message>
    <message>
        <source>The file is empty; it is not a ZoKorvane study.</source>
        <translation>El fichero está vacío; no es un estudio de ZoKorvane.</translation>
    </message>
    <message>
        <source>It is not a ZoKorvane study (not an SQLite data base).</source>
        <translation>No es un estudio de ZoKorvane (no es una base de datos SQLite).</translation>
    </message>
    <message>
        <source>The data base engine cannot open it: </source>
        <translation>El motor de base de datos no puede abrirlo: </translation>
    </message>
    <message>
        <source>It is in use by another program. Close it there and try again.</source>
        <translation>La está usando otro programa. Ciérrela allí y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>It was made by a newer version of ZoKorvane (study version %1); this one reads versions up to %2.</source>
        <translation>Lo creó una versión más reciente de ZoKorvane (versión de estudio %1); esta lee versiones hasta la %2.</translation>
    </message>
    <message>
        <source>Cannot create the tables</source>
        <translation>No se pueden crear las tablas</translation>
    </message>
    <message>
        <source>Cannot create the study %1: %2</source>
        <translation>No se puede crear el estudio %1: %2</translation>
    </message>
    <message>
        <source>Cannot create the study %1: the database already has tables; a new study goes into an empty database.</source>
        <translation>No se puede crear el estudio %1: la base de datos ya tiene tablas; un estudio nuevo va en una base de datos vacía.</translation>
    </message>
    <message>
        <source>No file name was given for the new study.</source>
        <translation>No se ha dado ningún nombre de fichero para el estudio nuevo.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La carpeta %1 no existe.</translation>
    </message>
    <message>
        <source>%1 drawings named by stimuli were missing: %2</source>
        <translation>Faltaban %1 dibujos nombrados por estímulos: %2</translation>
    </message>
    <message>
        <source>%1 drawings were not copied: %2</source>
        <translation>No se han copiado %1 dibujos: %2</translation>
    </message>
    <message>
        <source>%1 already exists; a new study is never written over a file.</source>
        <translation>%1 ya existe; un estudio nuevo nunca se escribe sobre un fichero.</translation>
    </message>
    <message>
        <source>Cannot create the MR calibration table</source>
        <translation>No se puede crear la tabla de calibraciones de resonancia</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>No se pueden leer los sujetos</translation>
    </message>
    <message>
        <source>Cannot store the subjects</source>
        <translation>No se pueden guardar los sujetos</translation>
    </message>
    <message>
        <source>%1 ages, heights or weights typed with a decimal comma now read as numbers.</source>
        <translation>%1 edades, alturas o pesos escritos con coma decimal se leen ahora como números.</translation>
    </message>
    <message>
        <source>The study was made by an earlier version and has been brought up to date.</source>
        <translation>Lo creó una versión anterior y se ha actualizado.</translation>
    </message>
    <message>
        <source>It was made by an earlier version and has to be brought up to date, but the backup copy %1 cannot be written: %2</source>
        <translation>Se hizo con una versión anterior y hay que actualizarlo, pero no se puede escribir la copia de seguridad %1: %2</translation>
    </message>
    <message>
        <source>%1 drawings were copied into the study from %2, which is left as it was.</source>
        <translation>Se han copiado %1 dibujos al estudio desde %2, que queda como estaba.</translation>
    </message>
    <message>
        <source>The study was made by an earlier version and has been brought up to date; a copy of it as it was is %1.</source>
        <translation>El estudio se hizo con una versión anterior y se ha actualizado; una copia de cómo estaba es %1.</translation>
    </message>
    <message>
        <source>Cannot create the normalisation table</source>
        <translation>No se puede crear la tabla de normalizaciones</translation>
    </message>
</context>
<context>
    <name>StudyBackup</name>
    <message>
        <source>Cannot keep the study&apos;s identity</source>
        <translation>No se puede guardar la identidad del estudio</translation>
    </message>
    <message>
        <source>it is the study itself</source>
        <translation>es el propio estudio</translation>
    </message>
    <message>
        <source>a file of that name exists and is not a backup of this study; a backup never replaces another file</source>
        <translation>ya existe un fichero con ese nombre y no es una copia de seguridad de este estudio; una copia de seguridad nunca sustituye a otro fichero</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>a server study is backed up by its server (pg_dump)</source>
        <translation>la copia de seguridad de un estudio del servidor la hace el propio servidor (pg_dump)</translation>
    </message>
    <message>
        <source>no study is open</source>
        <translation>no hay ningún estudio abierto</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>la carpeta no existe</translation>
    </message>
    <message>
        <source>Cannot create the backup folder %1</source>
        <translation>No se puede crear la carpeta de copias de seguridad %1</translation>
    </message>
    <message>
        <source>the study held %1 backup identities</source>
        <translation>el estudio tenía %1 identidades de copia de seguridad</translation>
    </message>
    <message>
        <source>its backup identity was not 8 or 32 lowercase hex digits</source>
        <translation>su identidad de copia de seguridad no eran 8 ni 32 dígitos hexadecimales en minúscula</translation>
    </message>
    <message>
        <source>its backup identity was made for the study at %1; this copy gets its own</source>
        <translation>su identidad de copia de seguridad se hizo para el estudio en %1; esta copia recibe la suya</translation>
    </message>
    <message>
        <source>A new backup identity was made for %1: %2.</source>
        <translation>Se ha creado una nueva identidad de copia de seguridad para %1: %2.</translation>
    </message>
</context>
<context>
    <name>StudyCopy</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>No se puede abrir %1: %2</translation>
    </message>
    <message>
        <source>Cannot copy into the table %1</source>
        <translation>No se puede copiar en la tabla %1</translation>
    </message>
    <message>
        <source>The copy of the table %1 differs from the original (%2 rows against %3)</source>
        <translation>La copia de la tabla %1 difiere del original (%2 filas frente a %3)</translation>
    </message>
    <message>
        <source>the text "%1" is not valid UTF-8</source>
        <translation>el texto "%1" no es UTF-8 válido</translation>
    </message>
    <message>
        <source>the text "%1" holds a NUL character, which a server cannot store</source>
        <translation>el texto "%1" contiene un carácter NUL, que un servidor no puede guardar</translation>
    </message>
    <message>
        <source>it holds binary data, which the server keeps nowhere there</source>
        <translation>contiene datos binarios, que el servidor no puede guardar ahí</translation>
    </message>
    <message>
        <source>%1 is a number where text belongs</source>
        <translation>%1 es un número donde va un texto</translation>
    </message>
    <message>
        <source>"%1" is not a date and time written yyyy-MM-dd HH:mm:ss</source>
        <translation>"%1" no es una fecha y hora escrita aaaa-MM-dd HH:mm:ss</translation>
    </message>
    <message>
        <source>"%1" is neither 0 nor 1</source>
        <translation>"%1" no es ni 0 ni 1</translation>
    </message>
    <message>
        <source>"%1" is text where the server keeps a whole number</source>
        <translation>"%1" es un texto donde el servidor guarda un número entero</translation>
    </message>
    <message>
        <source>"%1" is text where the server keeps a number</source>
        <translation>"%1" es un texto donde el servidor guarda un número</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 no es un número entero</translation>
    </message>
    <message>
        <source>%1 is beyond what the server keeps there (%2 to %3)</source>
        <translation>%1 está fuera de lo que el servidor guarda ahí (de %2 a %3)</translation>
    </message>
    <message>
        <source>Nothing was copied: in the table %1, row %2, column %3, %4.</source>
        <translation>No se ha copiado nada: en la tabla %1, fila %2, columna %3, %4.</translation>
    </message>
    <message>
        <source>Cannot copy into %1: %2</source>
        <translation>No se puede copiar en %1: %2</translation>
    </message>
    <message>
        <source>Cannot copy into %1: the database already has tables; a copy goes into an empty database.</source>
        <translation>No se puede copiar en %1: la base de datos ya tiene tablas; una copia va en una base de datos vacía.</translation>
    </message>
    <message>
        <source>%1 already exists; a copy is never written over a file.</source>
        <translation>%1 ya existe; una copia nunca se escribe sobre un fichero.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>the text "%1" would be read back from a study file as a number, not as the text it is</source>
        <translation>el texto "%1" se leería de un archivo de estudio como un número, no como el texto que es</translation>
    </message>
    <message>
        <source>Nothing was copied: the table %1 is not part of a ZoKorvane study, and a copy would leave it out.</source>
        <translation>No se ha copiado nada: la tabla %1 no forma parte de un estudio de ZoKorvane y una copia la dejaría fuera.</translation>
    </message>
</context>
<context>
    <name>StudyDrawings</name>
    <message>
        <source>Cannot export into %1: %2</source>
        <translation>No se puede exportar a %1: %2</translation>
    </message>
    <message>
        <source>it is a file, not a folder</source>
        <translation>es un fichero, no una carpeta</translation>
    </message>
    <message>
        <source>the folder is not empty. Choose a new or empty folder.</source>
        <translation>la carpeta no está vacía. Elija una carpeta nueva o vacía.</translation>
    </message>
    <message>
        <source>Cannot read the drawing</source>
        <translation>No se puede leer el dibujo</translation>
    </message>
    <message>
        <source>Cannot store the drawing</source>
        <translation>No se puede guardar el dibujo</translation>
    </message>
    <message>
        <source>Cannot delete the drawing</source>
        <translation>No se puede borrar el dibujo</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>No se pueden leer los estímulos</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>No se puede crear la carpeta %1.</translation>
    </message>
    <message>
        <source>Cannot read the drawings</source>
        <translation>No se pueden leer los dibujos</translation>
    </message>
</context>
<context>
    <name>StudyExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>No se puede crear la carpeta %1</translation>
    </message>
    <message>
        <source>Cannot count the stimuli</source>
        <translation>No se pueden contar los estímulos</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>No se pueden leer los sujetos</translation>
    </message>
    <message>
        <source>Cannot export into %1: it is a file, not a folder</source>
        <translation>No se puede exportar a %1: es un fichero, no una carpeta</translation>
    </message>
    <message>
        <source>Cannot export into %1: the folder is not empty. Choose a new or empty folder.</source>
        <translation>No se puede exportar a %1: la carpeta no está vacía. Elija una carpeta nueva o vacía.</translation>
    </message>
    <message>
        <source>Cannot write into %1: the folder cannot be created there</source>
        <translation>No se puede escribir en %1: no se puede crear allí la carpeta</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>No se pueden leer los estímulos</translation>
    </message>
    <message>
        <source>The export was stopped</source>
        <translation>Se ha detenido la exportación</translation>
    </message>
    <message>
        <source>%1 stimuli belong to no subject of the study and are not in the dataset</source>
        <translation>%1 estímulos no pertenecen a ningún sujeto del estudio y no están en el conjunto de datos</translation>
    </message>
    <message>
        <source>Cannot replace the empty folder %1</source>
        <translation>No se puede reemplazar la carpeta vacía %1</translation>
    </message>
    <message>
        <source>Cannot write %1: the finished export could not be moved there</source>
        <translation>No se puede escribir %1: no se ha podido mover allí la exportación terminada</translation>
    </message>
    <message>
        <source>Subject %1 is exported without its MR and sites: %2</source>
        <translation>El sujeto %1 se exporta sin su RM ni sus sitios: %2</translation>
    </message>
    <message>
        <source>Cannot export the study</source>
        <translation>No se puede exportar el estudio</translation>
    </message>
    <message>
        <source>Subject %1 is exported without MNI coordinates: it was normalised on another series than the one calibrated</source>
        <translation>El sujeto %1 se exporta sin coordenadas MNI: se normalizó sobre una serie distinta de la calibrada</translation>
    </message>
</context>
<context>
    <name>SubjectAiming</name>
    <message>
        <source>Cannot read the subject's aiming</source>
        <translation>No se puede leer la puntería de las celdas del sujeto</translation>
    </message>
    <message>
        <source>Cannot store the subject's aiming</source>
        <translation>No se puede guardar la puntería de las celdas del sujeto</translation>
    </message>
    <message>
        <source>The stored aiming of subject %1 is refused: %2 holds '%3', which the program never stores there. Normalise the subject again.</source>
        <translation>Se rechaza la puntería guardada del sujeto %1: %2 contiene '%3', que el programa nunca guarda ahí. Normalice de nuevo el sujeto.</translation>
    </message>
</context>
<context>
    <name>SubjectCalibration</name>
    <message>
        <source>Cannot read the subject's MR calibration</source>
        <translation>No se puede leer la calibración de resonancia del sujeto</translation>
    </message>
    <message>
        <source>Cannot store the subject's MR calibration</source>
        <translation>No se puede guardar la calibración de resonancia del sujeto</translation>
    </message>
    <message>
        <source>The stored MR calibration of subject %1 is refused: %2 holds '%3', which the program never stores there. Mark the landmarks again.</source>
        <translation>Se rechaza la calibración de RM guardada del sujeto %1: %2 contiene '%3', que el programa nunca guarda ahí. Marque de nuevo los puntos de referencia.</translation>
    </message>
</context>
<context>
    <name>SubjectLock</name>
    <message>
        <source>Cannot give subject %1 back to the other stations; it stays busy for them until this program closes the study. %2</source>
        <translation>No se puede devolver el sujeto %1 a los demás puestos; seguirá ocupado para ellos hasta que este programa cierre el estudio. %2</translation>
    </message>
    <message>
        <source>Cannot ask the server whether subject %1 is free</source>
        <translation>No se puede preguntar al servidor si el sujeto %1 está libre</translation>
    </message>
    <message>
        <source>Subject %1 is being recorded or corrected at another station. Try again when that station has finished with the subject.</source>
        <translation>El sujeto %1 se está registrando o corrigiendo en otro puesto. Vuelva a intentarlo cuando ese puesto haya terminado con el sujeto.</translation>
    </message>
</context>
<context>
    <name>SubjectNormalisation</name>
    <message>
        <source>a matrix entry is not a finite number</source>
        <translation>un elemento de la matriz no es un número finito</translation>
    </message>
    <message>
        <source>the matrix's last row is not 0 0 0 1</source>
        <translation>la última fila de la matriz no es 0 0 0 1</translation>
    </message>
    <message>
        <source>the matrix cannot be inverted</source>
        <translation>la matriz no se puede invertir</translation>
    </message>
    <message>
        <source>no template is named</source>
        <translation>no nombra ninguna plantilla</translation>
    </message>
    <message>
        <source>the template's SHA-256 is not 64 hex digits</source>
        <translation>el SHA-256 de la plantilla no tiene 64 dígitos hexadecimales</translation>
    </message>
    <message>
        <source>no series fingerprint</source>
        <translation>no tiene huella de la serie</translation>
    </message>
    <message>
        <source>the metric is not a finite number</source>
        <translation>la métrica no es un número finito</translation>
    </message>
    <message>
        <source>no time of acceptance</source>
        <translation>no tiene hora de aceptación</translation>
    </message>
    <message>
        <source>Cannot read the subject's normalisation</source>
        <translation>No se puede leer la normalización del sujeto</translation>
    </message>
    <message>
        <source>The stored normalisation of subject %1 is damaged: %2</source>
        <translation>La normalización guardada del sujeto %1 está dañada: %2</translation>
    </message>
    <message>
        <source>Cannot store the subject's normalisation</source>
        <translation>No se puede guardar la normalización del sujeto</translation>
    </message>
</context>
<context>
    <name>SubjectReport</name>
    <message>
        <source>Cannot read the subject's experiments</source>
        <translation>No se pueden leer los experimentos del sujeto</translation>
    </message>
    <message>
        <source>Index: </source>
        <translation>Índice: </translation>
    </message>
    <message>
        <source>Subject: </source>
        <translation>Sujeto: </translation>
    </message>
    <message>
        <source>Experiment: </source>
        <translation>Experimento: </translation>
    </message>
    <message>
        <source>Intensity: </source>
        <translation>Intensidad: </translation>
    </message>
    <message>
        <source>Color: </source>
        <translation>Color: </translation>
    </message>
</context>
<context>
    <name>SubjectStore</name>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>Primer apellido</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Segundo apellido</translation>
    </message>
    <message>
        <source>Age</source>
        <translation>Edad</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Altura</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>Peso</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Filas</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Columnas</translation>
    </message>
    <message>
        <source>Center row</source>
        <translation>Fila central</translation>
    </message>
    <message>
        <source>Center column</source>
        <translation>Columna central</translation>
    </message>
    <message>
        <source>Observations</source>
        <translation>Observaciones</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>No se pueden leer los sujetos</translation>
    </message>
    <message>
        <source>a value is needed.</source>
        <translation>hace falta un valor.</translation>
    </message>
    <message>
        <source>"%1" is not a number.</source>
        <translation>"%1" no es un número.</translation>
    </message>
    <message>
        <source>"%1" is not a whole number.</source>
        <translation>"%1" no es un número entero.</translation>
    </message>
    <message>
        <source>the identifier must be 1 or more.</source>
        <translation>el identificador debe ser 1 o mayor.</translation>
    </message>
    <message>
        <source>%1 is off the grid; the centre %2 must be from 0 to %3.</source>
        <translation>%1 queda fuera de la rejilla; la %2 central debe ser de 0 a %3.</translation>
    </message>
    <message>
        <source>row</source>
        <translation>fila</translation>
    </message>
    <message>
        <source>column</source>
        <translation>columna</translation>
    </message>
    <message>
        <source>The subject %1 is no longer in the study.</source>
        <translation>El sujeto %1 ya no está en el estudio.</translation>
    </message>
    <message>
        <source>another subject already has the identifier %1.</source>
        <translation>otro sujeto ya tiene el identificador %1.</translation>
    </message>
    <message>
        <source>the subject's stimulation points are recorded under the identifier %1, so it cannot be changed.</source>
        <translation>los puntos de estimulación del sujeto están registrados con el identificador %1, así que no se puede cambiar.</translation>
    </message>
    <message>
        <source>Cannot store the subject</source>
        <translation>No se puede guardar el sujeto</translation>
    </message>
</context>
<context>
    <name>Tool</name>
    <message>
        <source>not written, a drawing of that name was written already: %1</source>
        <translation>no se ha escrito, ya se había escrito un dibujo con ese nombre: %1</translation>
    </message>
    <message>
        <source>Wrote %1 slices of %2 x %2 pixels to %3; head centre (%4, %5, %6), radii (%7, %8, %9) voxels</source>
        <translation>Escritos %1 cortes de %2 x %2 píxeles en %3; centro de la cabeza (%4, %5, %6), radios (%7, %8, %9) vóxeles</translation>
    </message>
    <message>
        <source>%1 is neither a folder nor a NIfTI file (.nii, .nii.gz)</source>
        <translation>%1 no es ni una carpeta ni un fichero NIfTI (.nii, .nii.gz)</translation>
    </message>
    <message>
        <source>--series and --series-index name the same thing: give one</source>
        <translation>--series y --series-index nombran lo mismo: dé uno</translation>
    </message>
    <message>
        <source>%1 holds no series numbered %2 (its series numbers: %3; --series-index N takes the N-th series as listed)</source>
        <translation>%1 no tiene ninguna serie con el número %2 (sus números de serie: %3; --series-index N toma la N-ésima serie de la lista)</translation>
    </message>
    <message>
        <source>--export-volume takes a file name ending in .nii or .nii.gz</source>
        <translation>--export-volume admite un nombre de fichero terminado en .nii o .nii.gz</translation>
    </message>
    <message>
        <source>no volume could be built from %1</source>
        <translation>no se ha podido construir ningún volumen con %1</translation>
    </message>
    <message>
        <source>--landmarks takes three voxel points X,Y,Z separated by ':'</source>
        <translation>--landmarks admite tres puntos de vóxel X,Y,Z separados por ':'</translation>
    </message>
    <message>
        <source>Wrote the plan of 50 cells to %1</source>
        <translation>Escrito el plan de las 50 celdas en %1</translation>
    </message>
    <message>
        <source>Created %1</source>
        <translation>Creado %1</translation>
    </message>
    <message>
        <source>cannot read the drawing %1: %2</source>
        <translation>no se puede leer el dibujo %1: %2</translation>
    </message>
    <message>
        <source>Wrote %1</source>
        <translation>Escrito %1</translation>
    </message>
    <message>
        <source>drawings copied into the study: %1</source>
        <translation>dibujos copiados al estudio: %1</translation>
    </message>
    <message>
        <source>drawing missing or unreadable: %1</source>
        <translation>dibujo que falta o no se puede leer: %1</translation>
    </message>
    <message>
        <source>not carried over exactly: %1</source>
        <translation>no trasladado exactamente: %1</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>no se puede abrir %1: %2</translation>
    </message>
    <message>
        <source>there is no subject %1 in %2</source>
        <translation>no hay ningún sujeto %1 en %2</translation>
    </message>
    <message>
        <source>Created the demo study %1</source>
        <translation>Creado el estudio de demostración %1</translation>
    </message>
    <message>
        <source>unknown command '%1'</source>
        <translation>orden desconocida '%1'</translation>
    </message>
    <message>
        <source>--%1 takes a whole number from %2 to %3, not '%4'</source>
        <translation>--%1 admite un número entero de %2 a %3, no '%4'</translation>
    </message>
    <message>
        <source>--answer takes yes, no or doubt</source>
        <translation>--answer admite yes, no o doubt</translation>
    </message>
    <message>
        <source>--date takes a date and time such as 2026-03-09T10:02:00</source>
        <translation>--date admite una fecha y hora como 2026-03-09T10:02:00</translation>
    </message>
    <message>
        <source>subject %1 has no stimulus of experiment %2 at cell %3</source>
        <translation>el sujeto %1 no tiene ningún estímulo del experimento %2 en la celda %3</translation>
    </message>
    <message>
        <source>Deleted stimulus %1 of subject %2, cell %3, experiment %4</source>
        <translation>Borrado el estímulo %1 del sujeto %2, celda %3, experimento %4</translation>
    </message>
    <message>
        <source>; its point, left without stimuli, was deleted too</source>
        <translation>; también se ha borrado su punto, que se quedó sin estímulos</translation>
    </message>
    <message>
        <source>Added stimulus %1 (point %2, drawing %3) to subject %4, cell %5, experiment %6</source>
        <translation>Añadido el estímulo %1 (punto %2, dibujo %3) al sujeto %4, celda %5, experimento %6</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>Wrote %1 drawings to %2</source>
        <translation>Escritos %1 dibujos en %2</translation>
    </message>
    <message>
        <source>not written, the name is not a plain file name: %1</source>
        <translation>no escrito, el nombre no es un nombre de fichero simple: %1</translation>
    </message>
    <message>
        <source>--format takes tsv or nibs-bids</source>
        <translation>--format admite tsv o nibs-bids</translation>
    </message>
    <message>
        <source>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4</source>
        <translation>Exportados %1 estímulos (%2 con dibujo) de %3 sujetos a %4</translation>
    </message>
    <message>
        <source>--%1 takes one of %2, not '%3'</source>
        <translation>--%1 admite uno de %2, no '%3'</translation>
    </message>
    <message>
        <source>give --png, --csv or both</source>
        <translation>indique --png, --csv o ambos</translation>
    </message>
    <message>
        <source>--subjects takes subject IDs separated by commas, not '%1'</source>
        <translation>--subjects admite IDs de sujeto separados por comas, no '%1'</translation>
    </message>
    <message>
        <source>Mapped %1 stimuli</source>
        <translation>Representados %1 estímulos en el mapa</translation>
    </message>
    <message>
        <source> where %1</source>
        <translation> donde %1</translation>
    </message>
    <message>
        <source>; %1 more count for no cell of the grid</source>
        <translation>; otros %1 no cuentan para ninguna celda de la rejilla</translation>
    </message>
    <message>
        <source>Copied and checked: every table of the copy equals the original</source>
        <translation>Copiado y comprobado: cada tabla de la copia es igual a la original</translation>
    </message>
    <message>
        <source>a server study is backed up by its server: pg_dump -Fc -f study.dump DATABASE</source>
        <translation>la copia de seguridad de un estudio del servidor la hace el propio servidor: pg_dump -Fc -f study.dump BASE_DE_DATOS</translation>
    </message>
    <message>
        <source>Backed up %1 to %2</source>
        <translation>Copia de seguridad de %1 en %2</translation>
    </message>
    <message>
        <source>Today's backup is already in %1</source>
        <translation>La copia de seguridad de hoy ya está en %1</translation>
    </message>
    <message>
        <source>Removed the old backup %1</source>
        <translation>Borrada la copia de seguridad antigua %1</translation>
    </message>
    <message>
        <source>%1 cannot be recognised again; no calibration stored</source>
        <translation>%1 no se podría reconocer de nuevo; no se ha guardado ninguna calibración</translation>
    </message>
    <message>
        <source>landmark %1 (%2, %3, %4) lies outside the volume of %5 x %6 x %7 voxels</source>
        <translation>el punto de referencia %1 (%2, %3, %4) está fuera del volumen de %5 x %6 x %7 vóxeles</translation>
    </message>
    <message>
        <source>Stored the MR calibration of subject %1 on %2 (%3)</source>
        <translation>Guardada la calibración de resonancia del sujeto %1 sobre %2 (%3)</translation>
    </message>
    <message>
        <source>--depth takes millimetres from 0 to 200</source>
        <translation>--depth admite milímetros de 0 a 200</translation>
    </message>
    <message>
        <source>--nifti and --volume take file names ending in .nii or .nii.gz</source>
        <translation>--nifti y --volume admiten nombres de fichero terminados en .nii o .nii.gz</translation>
    </message>
    <message>
        <source>subject %1 has no stored MR calibration: accept the point selection of its MR, or run zokorvane-tool calibrate</source>
        <translation>el sujeto %1 no tiene guardada una calibración de RM: acepte la selección de puntos de su RM o ejecute zokorvane-tool calibrate</translation>
    </message>
    <message>
        <source>Wrote the sites of 50 cells of subject %1 to %2</source>
        <translation>Escritos los sitios de 50 celdas del sujeto %1 en %2</translation>
    </message>
    <message>
        <source>import-mdb writes a study file; copy-study then puts it on a server</source>
        <translation>import-mdb escribe un fichero de estudio; copy-study lo lleva después a un servidor</translation>
    </message>
    <message>
        <source>two outputs name the same file</source>
        <translation>dos salidas nombran el mismo archivo</translation>
    </message>
    <message>
        <source>%1 % %2</source>
        <translation>%1 % %2</translation>
    </message>
    <message>
        <source>Subject %1 normalised to %2 (subject RAS mm -&gt; MNI RAS mm):</source>
        <translation>Normalizado el sujeto %1 a %2 (mm RAS del sujeto -&gt; mm RAS de MNI):</translation>
    </message>
    <message>
        <source>scales x y z: %1</source>
        <translation>escalas x y z: %1</translation>
    </message>
    <message>
        <source>rotations about x y z (degrees): %1</source>
        <translation>rotaciones alrededor de x y z (grados): %1</translation>
    </message>
    <message>
        <source>shift (mm): %1</source>
        <translation>desplazamiento (mm): %1</translation>
    </message>
    <message>
        <source>metric (Mattes mutual information): %1</source>
        <translation>métrica (información mutua de Mattes): %1</translation>
    </message>
    <message>
        <source>seconds: %1</source>
        <translation>segundos: %1</translation>
    </message>
    <message>
        <source>--depth takes millimetres from 0 to 200, --radius from 0.5 to 50</source>
        <translation>--depth admite milímetros de 0 a 200, --radius de 0.5 a 50</translation>
    </message>
    <message>
        <source>--nifti and --counts take file names ending in .nii or .nii.gz</source>
        <translation>--nifti y --counts admiten nombres de fichero terminados en .nii o .nii.gz</translation>
    </message>
    <message>
        <source>left out: %1</source>
        <translation>excluidos: %1</translation>
    </message>
    <message>
        <source>no chosen subject is normalised; run zokorvane-tool normalise</source>
        <translation>ningún sujeto elegido está normalizado; ejecute zokorvane-tool normalise</translation>
    </message>
    <message>
        <source>Pooled %1 targets of %2 subjects in %3 areas into %4</source>
        <translation>%1 dianas de %2 sujetos en %3 áreas agrupadas en %4</translation>
    </message>
</context>
<context>
    <name>Transaction</name>
    <message>
        <source>Cannot start a transaction</source>
        <translation>No se puede iniciar una transacción</translation>
    </message>
    <message>
        <source>Cannot store the changes</source>
        <translation>No se pueden guardar los cambios</translation>
    </message>
</context>
<context>
    <name>elegirpaciente</name>
    <message>
        <source>Select subject</source>
        <translation>Seleccionar sujeto</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Sujeto:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Subject: </source>
        <translation>Sujeto: </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Records and reviews the phosphenes evoked by transcranial magnetic stimulation.</source>
        <translation>Registra y revisa los fosfenos evocados por estimulación magnética transcraneal.</translation>
    </message>
    <message>
        <source>Study file (.sqlite), or a server study's connection URI (postgresql://user@host/database), to open at start</source>
        <translation>Fichero de estudio (.sqlite), o URI de conexión de un estudio del servidor (postgresql://usuario@servidor/base), que abrir al empezar</translation>
    </message>
</context>
<context>
    <name>paciente</name>
    <message>
        <source>Edit subject</source>
        <translation>Editar sujeto</translation>
    </message>
    <message>
        <source>New subject</source>
        <translation>Sujeto nuevo</translation>
    </message>
    <message>
        <source>Subject form</source>
        <translation>Ficha del sujeto</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>BLIND</source>
        <translation>CIEGO</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nombre:</translation>
    </message>
    <message>
        <source>First name:</source>
        <translation>Primer apellido:</translation>
    </message>
    <message>
        <source>Last name:</source>
        <translation>Segundo apellido:</translation>
    </message>
    <message>
        <source>Age:</source>
        <translation>Edad:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Altura:</translation>
    </message>
    <message>
        <source>Weight:</source>
        <translation>Peso:</translation>
    </message>
    <message>
        <source>Rows:</source>
        <translation>Filas:</translation>
    </message>
    <message>
        <source>Columns:</source>
        <translation>Columnas:</translation>
    </message>
    <message>
        <source>Center:</source>
        <translation>Centro:</translation>
    </message>
    <message>
        <source>Row of the centre point</source>
        <translation>Fila del punto central</translation>
    </message>
    <message>
        <source>Column of the centre point</source>
        <translation>Columna del punto central</translation>
    </message>
    <message>
        <source>Observations:</source>
        <translation>Observaciones:</translation>
    </message>
    <message>
        <source>|&lt;</source>
        <translation>|&lt;</translation>
    </message>
    <message>
        <source>First subject</source>
        <translation>Primer sujeto</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Primero</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>Previous subject</source>
        <translation>Sujeto anterior</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>Next subject</source>
        <translation>Sujeto siguiente</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>&gt;|</source>
        <translation>&gt;|</translation>
    </message>
    <message>
        <source>Last subject</source>
        <translation>Último sujeto</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Último</translation>
    </message>
    <message>
        <source>The subject cannot be stored.

</source>
        <translation>No se puede guardar el sujeto.

</translation>
    </message>
    <message>
        <source>Subjects (%1/%2)</source>
        <translation>Sujetos (%1/%2)</translation>
    </message>
    <message>
        <source>New Subject</source>
        <translation>Sujeto nuevo</translation>
    </message>
    <message>
        <source>

Discard the changes to this subject?</source>
        <translation>

¿Descartar los cambios de este sujeto?</translation>
    </message>
</context>
<context>
    <name>zokorvane-tool</name>
    <message>
        <source>--size takes a number of pixels from 1 to 10000</source>
        <translation>--size admite un número de píxeles de 1 a 10000</translation>
    </message>
    <message>
        <source>Imported %1 into %2: %3 subjects, %4 points, %5 stimuli</source>
        <translation>Importado %1 en %2: %3 sujetos, %4 puntos, %5 estímulos</translation>
    </message>
</context>
</TS>
