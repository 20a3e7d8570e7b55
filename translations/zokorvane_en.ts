<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>AssociatedMr</name>
    <message>
        <source>Where is the MR series of this subject (%1 is not on this computer)?</source>
        <translation>Where is the MR series of this subject (%1 is not on this computer)?</translation>
    </message>
    <message>
        <source>The series in %1 is not the one calibrated on %2; mark the landmarks again</source>
        <translation>The series in %1 is not the one calibrated on %2; mark the landmarks again</translation>
    </message>
</context>
<context>
    <name>BrainSpace</name>
    <message>
        <source>%1: its voxels are not placed in space</source>
        <translation>%1: its voxels are not placed in space</translation>
    </message>
    <message>
        <source>The atlas labels %1 cannot be read</source>
        <translation>The atlas labels %1 cannot be read</translation>
    </message>
</context>
<context>
    <name>BrainTemplate</name>
    <message>
        <source>The template files of the package mricron-data are missing (%1); install mricron-data, or name a template with --template and an atlas with --atlas</source>
        <translation>The template files of the package mricron-data are missing (%1); install mricron-data, or name a template with --template and an atlas with --atlas</translation>
    </message>
    <message>
        <source>The template %1 cannot be read</source>
        <translation>The template %1 cannot be read</translation>
    </message>
    <message>
        <source>The template %1 does not exist</source>
        <translation>The template %1 does not exist</translation>
    </message>
    <message>
        <source>The template %1 is not a regular file</source>
        <translation>The template %1 is not a regular file</translation>
    </message>
    <message>
        <source>The atlas %1 does not exist</source>
        <translation>The atlas %1 does not exist</translation>
    </message>
    <message>
        <source>The atlas %1 is not a regular file</source>
        <translation>The atlas %1 is not a regular file</translation>
    </message>
</context>
<context>
    <name>BrainView</name>
    <message>
        <source>The template is not a volume: %1</source>
        <translation>The template is not a volume: %1</translation>
    </message>
</context>
<context>
    <name>ConfinedRead</name>
    <message>
        <source>it does not exist</source>
        <translation>it does not exist</translation>
    </message>
    <message>
        <source>it is a symbolic link, not followed</source>
        <translation>it is a symbolic link, not followed</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>it cannot be read: %1</translation>
    </message>
    <message>
        <source>it is not a file name inside the folder</source>
        <translation>it is not a file name inside the folder</translation>
    </message>
    <message>
        <source>its folder is a symbolic link, not followed</source>
        <translation>its folder is a symbolic link, not followed</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>it is larger than %1 bytes</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>it is empty</translation>
    </message>
</context>
<context>
    <name>DicomFiles</name>
    <message>
        <source>%1 have another pixel size than %2 x %3 mm</source>
        <translation>%1 have another pixel size than %2 x %3 mm</translation>
    </message>
    <message>
        <source>%1 are not %2 mm from the slice before (from %3 to %4 mm)</source>
        <translation>%1 are not %2 mm from the slice before (from %3 to %4 mm)</translation>
    </message>
    <message>
        <source>The images of series %1 are not all defined alike: of %2 files, %3.</source>
        <translation>The images of series %1 are not all defined alike: of %2 files, %3.</translation>
    </message>
</context>
<context>
    <name>DrawingFile</name>
    <message>
        <source>number out of range: %1</source>
        <translation>number out of range: %1</translation>
    </message>
    <message>
        <source>not a number: %1</source>
        <translation>not a number: %1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>the last point record is incomplete</source>
        <translation>the last point record is incomplete</translation>
    </message>
    <message>
        <source>more than the %1 point records a drawing holds; the rest is not drawn</source>
        <translation>more than the %1 point records a drawing holds; the rest is not drawn</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>DrawingRender</name>
    <message>
        <source>File error:</source>
        <translation>File error:</translation>
    </message>
    <message>
        <source>the study holds no drawing of that name</source>
        <translation>the study holds no drawing of that name</translation>
    </message>
</context>
<context>
    <name>EGrid</name>
    <message>
        <source>Point %1</source>
        <translation>Point %1</translation>
    </message>
</context>
<context>
    <name>ExperimentReview</name>
    <message>
        <source>Cannot store the corrected stimuli</source>
        <translation>Cannot store the corrected stimuli</translation>
    </message>
    <message>
        <source>Cannot read the stimulation points</source>
        <translation>Cannot read the stimulation points</translation>
    </message>
    <message>
        <source>Cannot read the stimuli of the point</source>
        <translation>Cannot read the stimuli of the point</translation>
    </message>
</context>
<context>
    <name>ExportStudyWindow</name>
    <message>
        <source>Export study</source>
        <translation>Export study</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Format</translation>
    </message>
    <message>
        <source>F&amp;older</source>
        <translation>F&amp;older</translation>
    </message>
    <message>
        <source>a new or empty folder</source>
        <translation>a new or empty folder</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>Progress of the export</source>
        <translation>Progress of the export</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Tables for analysis (stimuli.tsv, subjects.tsv)</source>
        <translation>Tables for analysis (stimuli.tsv, subjects.tsv)</translation>
    </message>
    <message>
        <source>NIBS-BIDS dataset</source>
        <translation>NIBS-BIDS dataset</translation>
    </message>
    <message>
        <source>Export into the folder</source>
        <translation>Export into the folder</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <source>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4.</source>
        <translation>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4.</translation>
    </message>
    <message>
        <source>Stopped: nothing was written.</source>
        <translation>Stopped: nothing was written.</translation>
    </message>
</context>
<context>
    <name>FAcumulados</name>
    <message>
        <source>Comparinh stinmulations</source>
        <translation>Comparing stimulations</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Type of stimulus</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation># pulses</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensity</translation>
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
        <translation>Coil type</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Stimulation point:</translation>
    </message>
    <message>
        <source>Subjects:</source>
        <translation>Subjects:</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Fuse</source>
        <translation>Fuse</translation>
    </message>
    <message>
        <source>Mass center</source>
        <translation>Mass centre</translation>
    </message>
    <message>
        <source>color: #a00000;</source>
        <translation>color: #a00000;</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source># pulses (from)</source>
        <translation># pulses (from)</translation>
    </message>
    <message>
        <source># pulses (to)</source>
        <translation># pulses (to)</translation>
    </message>
    <message>
        <source>Frecuency (from)</source>
        <translation>Frequency (from)</translation>
    </message>
    <message>
        <source>Frecuency (to)</source>
        <translation>Frequency (to)</translation>
    </message>
    <message>
        <source>Intensity (from)</source>
        <translation>Intensity (from)</translation>
    </message>
    <message>
        <source>Intensity (to)</source>
        <translation>Intensity (to)</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Any</translation>
    </message>
    <message>
        <source>- Cualquiera</source>
        <translation>- Any</translation>
    </message>
    <message>
        <source>
Nothing is drawn until the bounds are whole numbers.</source>
        <translation>
Nothing is drawn until the bounds are whole numbers.</translation>
    </message>
</context>
<context>
    <name>FInicio</name>
    <message>
        <source>Seleccionar Serie de Imágenes</source>
        <translation>Select Image Series</translation>
    </message>
    <message>
        <source>Load images from:</source>
        <translation>Load images from:</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Series:</source>
        <translation>Series:</translation>
    </message>
    <message>
        <source>The series of the folder, by number; the largest series of one volume is chosen first. NIfTI volumes (.nii, .nii.gz) of the folder are listed too.</source>
        <translation>The series of the folder, by number; the largest series of one volume is chosen first. NIfTI volumes (.nii, .nii.gz) of the folder are listed too.</translation>
    </message>
    <message>
        <source>Series kind</source>
        <translation>Series kind</translation>
    </message>
    <message>
        <source>Images as lateral slices</source>
        <translation>Images as lateral slices</translation>
    </message>
    <message>
        <source>Only for JPEG pictures, which carry no orientation: ticked, they are lateral slices (columns from the face to the back, rows from the top down, the first picture at the subject's left); unticked, axial slices as scanners show them. DICOM and NIfTI volumes are oriented by their own headers.</source>
        <translation>Only for JPEG pictures, which carry no orientation: ticked, they are lateral slices (columns from the face to the back, rows from the top down, the first picture at the subject's left); unticked, axial slices as scanners show them. DICOM and NIfTI volumes are oriented by their own headers.</translation>
    </message>
    <message>
        <source>Load Images</source>
        <translation>Load Images</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Conviertiendo %1 de %2</source>
        <translation>Converting %1 of %2</translation>
    </message>
    <message>
        <source>Making 3D: %1 of %2</source>
        <translation>Making 3D: %1 of %2</translation>
    </message>
    <message>
        <source>Imagenes Dicom (*.dcm o *.)</source>
        <translation>DICOM images (*.dcm or *.)</translation>
    </message>
    <message>
        <source>Imagenes JPG (*.jpg)</source>
        <translation>JPG images (*.jpg)</translation>
    </message>
    <message>
        <source>%1 (NIfTI)</source>
        <translation>%1 (NIfTI)</translation>
    </message>
    <message>
        <source>Orientation: %1</source>
        <translation>Orientation: %1</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>A series of several volumes (echoes, time points, diffusion directions, magnitude and phase): the volume to build.</source>
        <translation>A series of several volumes (echoes, time points, diffusion directions, magnitude and phase): the volume to build.</translation>
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation>%1 of %2: %3</translation>
    </message>
    <message>
        <source>Orientation: from the NIfTI header</source>
        <translation>Orientation: from the NIfTI header</translation>
    </message>
    <message>
        <source>No DICOM series in this folder (%1 files are not DICOM images).</source>
        <translation>No DICOM series in this folder (%1 files are not DICOM images).</translation>
    </message>
    <message>
        <source>These files could not be read:
</source>
        <translation>These files could not be read:
</translation>
    </message>
    <message>
        <source>No volume could be built:
</source>
        <translation>No volume could be built:
</translation>
    </message>
    <message>
        <source>No volume could be built from %1: it holds no series.</source>
        <translation>No volume could be built from %1: it holds no series.</translation>
    </message>
</context>
<context>
    <name>FResonancia</name>
    <message>
        <source>View magnetic resonance</source>
        <translation>View magnetic resonance</translation>
    </message>
    <message>
        <source>Deep</source>
        <translation>Depth</translation>
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
        <translation>Depth: "%1" is not a number.</translation>
    </message>
</context>
<context>
    <name>FSelect</name>
    <message>
        <source>Select Points</source>
        <translation>Select Points</translation>
    </message>
    <message>
        <source>Select Point 1</source>
        <translation>Select Point 1</translation>
    </message>
    <message>
        <source>Select Point 2</source>
        <translation>Select Point 2</translation>
    </message>
    <message>
        <source>Frame View</source>
        <translation>Frame View</translation>
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
        <translation>Select Inion Point</translation>
    </message>
    <message>
        <source>Milimetres/pixels</source>
        <translation>Millimetres/pixels</translation>
    </message>
    <message>
        <source>Distance 1 - 2</source>
        <translation>Distance 1 - 2</translation>
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
        <translation>Data</translation>
    </message>
    <message>
        <source>Interslice:</source>
        <translation>Interslice:</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Zero Frame:</source>
        <translation>Zero Frame:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>(%1, %2) mm</source>
        <translation>(%1, %2) mm</translation>
    </message>
    <message>
        <source>"%1" is not a number.</source>
        <translation>"%1" is not a number.</translation>
    </message>
    <message>
        <source>Select the Ilion Point</source>
        <translation>Select the Inion Point</translation>
    </message>
</context>
<context>
    <name>FVerEstimulo</name>
    <message>
        <source>View experiments</source>
        <translation>View experiments</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>Experiment:</source>
        <translation>Experiment:</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Stimulation point:</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Type of stimulus</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Coil type</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensity</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation># pulses</translation>
    </message>
    <message>
        <source>View magnetic resonance</source>
        <translation>View magnetic resonance</translation>
    </message>
    <message>
        <source>Perception</source>
        <translation>Perception</translation>
    </message>
    <message>
        <source>Phosphene</source>
        <translation>Phosphene</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Doubt</translation>
    </message>
    <message>
        <source>Phosphene data</source>
        <translation>Phosphene data</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brightness:</translation>
    </message>
    <message>
        <source>Draw:</source>
        <translation>Drawing:</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Fuse</source>
        <translation>Fuse</translation>
    </message>
    <message>
        <source>Mass center</source>
        <translation>Mass centre</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Observaciones:</source>
        <translation>Observations:</translation>
    </message>
    <message>
        <source>Aply to this PERCEPTION</source>
        <translation>Apply to this PERCEPTION</translation>
    </message>
    <message>
        <source>Aply to ALL THE EXPERIMENT</source>
        <translation>Apply to ALL THE EXPERIMENT</translation>
    </message>
    <message>
        <source>Aply to THIS SUBJECT</source>
        <translation>Apply to THIS SUBJECT</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Any</translation>
    </message>
    <message>
        <source>There is no information about the selected subject</source>
        <translation>There is no information about the selected subject</translation>
    </message>
    <message>
        <source>Undefined 'Coil type'</source>
        <translation>Undefined 'Coil type'</translation>
    </message>
    <message>
        <source>Undefined 'Pulse Type'</source>
        <translation>Undefined 'Pulse type'</translation>
    </message>
    <message>
        <source>Undefined 'Fase'</source>
        <translation>Undefined 'Phase'</translation>
    </message>
    <message>
        <source>Undefined 'Orientation'</source>
        <translation>Undefined 'Orientation'</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <translation>Nothing was changed.</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>The changes were not stored.

</source>
        <translation>The changes were not stored.

</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to this perception?</source>
        <translation>Are you sure you want to apply the changes to this perception?</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to this EXPERIMENT?</source>
        <translation>Are you sure you want to apply the changes to this EXPERIMENT?</translation>
    </message>
    <message>
        <source>Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?</source>
        <translation>Are you sure you want to apply the changes to THE WHOLE SUBJECT (ALL EXPERIMENTS)?</translation>
    </message>
</context>
<context>
    <name>GridAim</name>
    <message>
        <source>Landmarks 1 and 2 are the same point: they give the MR no scale.</source>
        <translation>Landmarks 1 and 2 are the same point: they give the MR no scale.</translation>
    </message>
    <message>
        <source>The Ilion point (%1, %2, %3) is not on the scalp: the grid would wrap around the head or aim at nothing. Mark it on the skin at the back of the head.</source>
        <translation>The Ilion point (%1, %2, %3) is not on the scalp: the grid would wrap around the head or aim at nothing. Mark it on the skin at the back of the head.</translation>
    </message>
    <message>
        <source>The aiming meets no scalp at cells %1 (the field of view cuts the head there); they are left empty.</source>
        <translation>The aiming meets no scalp at cells %1 (the field of view cuts the head there); they are left empty.</translation>
    </message>
</context>
<context>
    <name>GroupMap</name>
    <message>
        <source>Cannot read the subjects</source>
        <translation>Cannot read the subjects</translation>
    </message>
    <message>
        <source>subject %1 (no MR calibration)</source>
        <translation>subject %1 (no MR calibration)</translation>
    </message>
    <message>
        <source>subject %1 (%2)</source>
        <translation>subject %1 (%2)</translation>
    </message>
    <message>
        <source>subject %1 (not normalised)</source>
        <translation>subject %1 (not normalised)</translation>
    </message>
</context>
<context>
    <name>ImagingState</name>
    <message>
        <source>The Ilion point lies at the head centre: the head radius is 0, so the grid cannot be placed on the MR.</source>
        <translation>The Inion point lies at the head centre: the head radius is 0, so the grid cannot be placed on the MR.</translation>
    </message>
</context>
<context>
    <name>IntroEstimulo</name>
    <message>
        <source>Experiment - Introducing magnetic stimulation results</source>
        <translation>Experiment - Entering magnetic stimulation results</translation>
    </message>
    <message>
        <source>Stimulation point:</source>
        <translation>Stimulation point:</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Type of stimulus</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Coil type</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Fase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensity</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Frecuency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation># pulses</translation>
    </message>
    <message>
        <source>View magnetic resonance</source>
        <translation>View magnetic resonance</translation>
    </message>
    <message>
        <source>Perception</source>
        <translation>Perception</translation>
    </message>
    <message>
        <source>Phosphene</source>
        <translation>Phosphene</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Doubt</translation>
    </message>
    <message>
        <source>Phosphene data</source>
        <translation>Phosphene data</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>Brightness:</translation>
    </message>
    <message>
        <source>Draw:</source>
        <translation>Drawing:</translation>
    </message>
    <message>
        <source>Observations:</source>
        <translation>Observations:</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Save and continue</source>
        <translation>Save and continue</translation>
    </message>
    <message>
        <source>Arrow keys move the selection</source>
        <translation>Arrow keys move the selection</translation>
    </message>
    <message>
        <source>There is no experiment. Next: Start new experiment.</source>
        <translation>There is no experiment. Next: Start new experiment.</translation>
    </message>
    <message>
        <source>Nothing was saved.</source>
        <translation>Nothing was saved.</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The stimulus was not saved.

</source>
        <translation>The stimulus was not saved.

</translation>
    </message>
    <message>
        <source>The stimulus was not deleted.

</source>
        <translation>The stimulus was not deleted.

</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>System default</translation>
    </message>
    <message>
        <source>Original texts (C)</source>
        <translation>Original texts (C)</translation>
    </message>
    <message>
        <source>Windows opened from now on use the language chosen.</source>
        <translation>Windows opened from now on use the language chosen.</translation>
    </message>
</context>
<context>
    <name>LegacyImport</name>
    <message>
        <source>The table %1 of %2 cannot be read.</source>
        <translation>The table %1 of %2 cannot be read.</translation>
    </message>
    <message>
        <source>The table list of %1 cannot be read; the file may be damaged.</source>
        <translation>The table list of %1 cannot be read; the file may be damaged.</translation>
    </message>
    <message>
        <source>Cannot add the column %1 to %2</source>
        <translation>Cannot add the column %1 to %2</translation>
    </message>
    <message>
        <source>the value cannot be decoded</source>
        <translation>the value cannot be decoded</translation>
    </message>
    <message>
        <source>Cannot prepare the copy of %1</source>
        <translation>Cannot prepare the copy of %1</translation>
    </message>
    <message>
        <source>Row %1 of %2 cannot be read; the file may be damaged.</source>
        <translation>Row %1 of %2 cannot be read; the file may be damaged.</translation>
    </message>
    <message>
        <source>Row %1 of %2 is damaged.</source>
        <translation>Row %1 of %2 is damaged.</translation>
    </message>
    <message>
        <source>Row %1 of %2 cannot be stored</source>
        <translation>Row %1 of %2 cannot be stored</translation>
    </message>
    <message>
        <source>The import was cancelled.</source>
        <translation>The import was cancelled.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 rows of %3 could be read; the file may be damaged.</source>
        <translation>Only %1 of the %2 rows of %3 could be read; the file may be damaged.</translation>
    </message>
    <message>
        <source>The study does not hold every row of %1 after the copy.</source>
        <translation>The study does not hold every row of %1 after the copy.</translation>
    </message>
    <message>
        <source>Cannot write the study %1: %2</source>
        <translation>Cannot write the study %1: %2</translation>
    </message>
    <message>
        <source>a file of that name appeared meanwhile</source>
        <translation>a file of that name appeared meanwhile</translation>
    </message>
    <message>
        <source>the file could not be renamed into place</source>
        <translation>the file could not be renamed into place</translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 does not exist.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 is not an Access (Jet) data base.</source>
        <translation>%1 is not an Access (Jet) database.</translation>
    </message>
    <message>
        <source>%1 is an Access 2007 or later data base; only Jet 3 and Jet 4 (.mdb) files can be imported.</source>
        <translation>%1 is an Access 2007 or later database; only Jet 3 and Jet 4 (.mdb) files can be imported.</translation>
    </message>
    <message>
        <source>%1 is damaged or truncated: it is shorter (%2 bytes) than the two pages every Access data base starts with.</source>
        <translation>%1 is damaged or truncated: it is shorter (%2 bytes) than the two pages every Access database starts with.</translation>
    </message>
    <message>
        <source>%1 cannot be read as an Access data base.</source>
        <translation>%1 cannot be read as an Access database.</translation>
    </message>
    <message>
        <source>%1 is not a ZoKorvane study: it has no table %2.</source>
        <translation>%1 is not a ZoKorvane study: it has no table %2.</translation>
    </message>
    <message>
        <source>%1 already exists; an import never writes over an existing study.</source>
        <translation>%1 already exists; an import never writes over an existing study.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Zo Magnetic Stimulation Data Base</source>
        <translation>Zo Magnetic Stimulation Database</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Subjects</translation>
    </message>
    <message>
        <source>&amp;Results</source>
        <translation>&amp;Results</translation>
    </message>
    <message>
        <source>&amp;Experiments</source>
        <translation>&amp;Experiments</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Open data base...</source>
        <translation>&amp;Open database...</translation>
    </message>
    <message>
        <source>Open &amp;server study...</source>
        <translation>Open &amp;server study...</translation>
    </message>
    <message>
        <source>&amp;Back up study...</source>
        <translation>&amp;Back up study...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>&amp;Select Subject...</source>
        <translation>&amp;Select Subject...</translation>
    </message>
    <message>
        <source>&amp;Subjects Form...</source>
        <translation>&amp;Subjects Form...</translation>
    </message>
    <message>
        <source>&amp;Load asociated MR...</source>
        <translation>&amp;Load associated MR...</translation>
    </message>
    <message>
        <source>&amp;Comparing stimulations...</source>
        <translation>&amp;Compare stimulations...</translation>
    </message>
    <message>
        <source>Phosphene &amp;map...</source>
        <translation>Phosphene &amp;map...</translation>
    </message>
    <message>
        <source>E&amp;xport study...</source>
        <translation>E&amp;xport study...</translation>
    </message>
    <message>
        <source>&amp;Print subject report</source>
        <translation>&amp;Print subject report</translation>
    </message>
    <message>
        <source>Save subject report as PDF...</source>
        <translation>Save subject report as PDF...</translation>
    </message>
    <message>
        <source>&amp;New experiment...</source>
        <translation>&amp;New experiment...</translation>
    </message>
    <message>
        <source>&amp;Continue last experiment...</source>
        <translation>&amp;Continue last experiment...</translation>
    </message>
    <message>
        <source>&amp;View experiments...</source>
        <translation>&amp;View experiments...</translation>
    </message>
    <message>
        <source>&amp;Edit experiments...</source>
        <translation>&amp;Edit experiments...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>Datos: ninguno</source>
        <translation>Data Base: none</translation>
    </message>
    <message>
        <source>Paciente: ninguno</source>
        <translation>Subject: none</translation>
    </message>
    <message>
        <source>Data Base|*.sqlite;*.mdb</source>
        <translation>Data Base|*.sqlite;*.mdb</translation>
    </message>
    <message>
        <source>Select a Data Base</source>
        <translation>Select a Data Base</translation>
    </message>
    <message>
        <source>A server study is backed up by its server (pg_dump).</source>
        <translation>A server study is backed up by its server (pg_dump).</translation>
    </message>
    <message>
        <source>Back up study</source>
        <translation>Back up study</translation>
    </message>
    <message>
        <source>Study (*.sqlite)</source>
        <translation>Study (*.sqlite)</translation>
    </message>
    <message>
        <source>The study was backed up to %1.</source>
        <translation>The study was backed up to %1.</translation>
    </message>
    <message>
        <source>Backed up to %1</source>
        <translation>Backed up to %1</translation>
    </message>
    <message>
        <source>Today's backup of the study could not be written.

%1</source>
        <translation>Today's backup of the study could not be written.

%1</translation>
    </message>
    <message>
        <source>Importing %1...</source>
        <translation>Importing %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Cannot import %1.

%2</source>
        <translation>Cannot import %1.

%2</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Password for %1:</source>
        <translation>Password for %1:</translation>
    </message>
    <message>
        <source>Cannot open the data base %1.

%2</source>
        <translation>Cannot open the database %1.

%2</translation>
    </message>
    <message>
        <source>Data Base: </source>
        <translation>Data Base: </translation>
    </message>
    <message>
        <source> (read only)</source>
        <translation> (read only)</translation>
    </message>
    <message>
        <source>Subject: none</source>
        <translation>Subject: none</translation>
    </message>
    <message>
        <source>No Subjects</source>
        <translation>No Subjects</translation>
    </message>
    <message>
        <source>Sorry, we can´t print the report</source>
        <translation>Sorry, the report cannot be printed</translation>
    </message>
    <message>
        <source>Printer error</source>
        <translation>Printer error</translation>
    </message>
    <message>
        <source>Subject report</source>
        <translation>Subject report</translation>
    </message>
    <message>
        <source>Save subject report as PDF</source>
        <translation>Save subject report as PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Cannot write the report to %1.

%2</source>
        <translation>Cannot write the report to %1.

%2</translation>
    </message>
    <message>
        <source>There is no information to this subject</source>
        <translation>There is no information about this subject</translation>
    </message>
    <message>
        <source>ZoKorvane version </source>
        <translation>ZoKorvane version </translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Language...</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>Cannot write %1.</translation>
    </message>
</context>
<context>
    <name>MainWindowModel</name>
    <message>
        <source>A study converted from %1 already exists:
%2

Open the existing study instead?</source>
        <translation>A study converted from %1 already exists:
%2

Open the existing study instead?</translation>
    </message>
    <message>
        <source>%1 was converted into the study %2:
%3 subjects, %4 points and %5 stimuli.</source>
        <translation>%1 was converted into the study %2:
%3 subjects, %4 points and %5 stimuli.</translation>
    </message>
    <message>
        <source>
%1 drawings were copied into the study.</source>
        <translation>
%1 drawings were copied into the study.</translation>
    </message>
    <message>
        <source>

These drawings were missing or could not be read:
</source>
        <translation>

These drawings were missing or could not be read:
</translation>
    </message>
    <message>
        <source>

These values could not be carried over exactly:
</source>
        <translation>

These values could not be carried over exactly:
</translation>
    </message>
</context>
<context>
    <name>Normalise</name>
    <message>
        <source>Subject %1 has no MR calibration: accept the point selection on the subject's MR first</source>
        <translation>Subject %1 has no MR calibration: accept the point selection on the subject's MR first</translation>
    </message>
    <message>
        <source>Registering (level %1 of %2)</source>
        <translation>Registering (level %1 of %2)</translation>
    </message>
    <message>
        <source>The normalisation was cancelled; nothing was stored.</source>
        <translation>The normalisation was cancelled; nothing was stored.</translation>
    </message>
    <message>
        <source>Loading the series</source>
        <translation>Loading the series</translation>
    </message>
    <message>
        <source>Loading the template</source>
        <translation>Loading the template</translation>
    </message>
    <message>
        <source>The template is not a volume: %1</source>
        <translation>The template is not a volume: %1</translation>
    </message>
    <message>
        <source>The template %1 is not a head volume (%2 x %3 x %4 voxels)</source>
        <translation>The template %1 is not a head volume (%2 x %3 x %4 voxels)</translation>
    </message>
    <message>
        <source>The registration did not find a head: its scales %1, %2, %3 lie outside %4 to %5; nothing was stored.</source>
        <translation>The registration did not find a head: its scales %1, %2, %3 lie outside %4 to %5; nothing was stored.</translation>
    </message>
    <message>
        <source>The registration did not find a head: the mutual information %1 is above %2; nothing was stored.</source>
        <translation>The registration did not find a head: the mutual information %1 is above %2; nothing was stored.</translation>
    </message>
    <message>
        <source>The registration gave no usable affine (%1); nothing was stored.</source>
        <translation>The registration gave no usable affine (%1); nothing was stored.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
</context>
<context>
    <name>NormaliseDialog</name>
    <message>
        <source>Normalising subject %1 to the template head...</source>
        <translation>Normalising subject %1 to the template head...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Normalise</source>
        <translation>Normalise</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>Stopping...</translation>
    </message>
    <message>
        <source>Subject %1 was not normalised: %2</source>
        <translation>Subject %1 was not normalised: %2</translation>
    </message>
    <message>
        <source>Normalise subject %1 to the template head now? Its targets then get MNI coordinates and atlas areas (about ten seconds; it can be cancelled).</source>
        <translation>Normalise subject %1 to the template head now? Its targets then get MNI coordinates and atlas areas (about ten seconds; it can be cancelled).</translation>
    </message>
</context>
<context>
    <name>NumericField</name>
    <message>
        <source>%1 must be a whole number from %2 to %3; "%4" is not. %5</source>
        <translation>%1 must be a whole number from %2 to %3; "%4" is not. %5</translation>
    </message>
</context>
<context>
    <name>ParameterLists</name>
    <message>
        <source>Magstim en ocho</source>
        <translation>Magstim figure-of-eight</translation>
    </message>
    <message>
        <source>Magstim Redonda</source>
        <translation>Magstim round</translation>
    </message>
    <message>
        <source>Cadwell en ocho</source>
        <translation>Cadwell figure-of-eight</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>Repetitive</source>
        <translation>Repetitive</translation>
    </message>
    <message>
        <source>Two</source>
        <translation>Two</translation>
    </message>
    <message>
        <source>Monofásico</source>
        <translation>Monophasic</translation>
    </message>
    <message>
        <source>Bifáisco</source>
        <translation>Biphasic</translation>
    </message>
    <message>
        <source>Up-Down</source>
        <translation>Up-Down</translation>
    </message>
    <message>
        <source>Down-Up</source>
        <translation>Down-Up</translation>
    </message>
    <message>
        <source>Left-Right</source>
        <translation>Left-Right</translation>
    </message>
    <message>
        <source>Right-Left</source>
        <translation>Right-Left</translation>
    </message>
</context>
<context>
    <name>PhantomWriter</name>
    <message>
        <source>Cannot create the directory %1.</source>
        <translation>Cannot create the directory %1.</translation>
    </message>
    <message>
        <source>A phantom needs at least 2 slices of 8 x 8 to 65535 x 65535 pixels, positive spacings and finite numbers.</source>
        <translation>A phantom needs at least 2 slices of 8 x 8 to 65535 x 65535 pixels, positive spacings and finite numbers.</translation>
    </message>
</context>
<context>
    <name>PhospheneMap</name>
    <message>
        <source>The filter has bounds that are not whole numbers</source>
        <translation>The filter has bounds that are not whole numbers</translation>
    </message>
    <message>
        <source>Cannot count the stimuli</source>
        <translation>Cannot count the stimuli</translation>
    </message>
    <message>
        <source>Cannot read the drawings of the cell</source>
        <translation>Cannot read the drawings of the cell</translation>
    </message>
    <message>
        <source>Phosphene rate</source>
        <translation>Phosphene rate</translation>
    </message>
    <message>
        <source>Phosphene rate
yes/no/doubt</source>
        <translation>Phosphene rate
yes/no/doubt</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Share of</source>
        <translation>Share of</translation>
    </message>
    <message>
        <source>Cell %1: %2 drawing%3</source>
        <translation>Cell %1: %2 drawing%3</translation>
    </message>
    <message>
        <source>No cell chosen</source>
        <translation>No cell chosen</translation>
    </message>
    <message>
        <source>Share of
drawings</source>
        <translation>Share of
drawings</translation>
    </message>
</context>
<context>
    <name>PhospheneMapWindow</name>
    <message>
        <source>Phosphene map</source>
        <translation>Phosphene map</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Subjects</translation>
    </message>
    <message>
        <source>&amp;All subjects</source>
        <translation>&amp;All subjects</translation>
    </message>
    <message>
        <source>Type of stimulus</source>
        <translation>Type of stimulus</translation>
    </message>
    <message>
        <source># pulses</source>
        <translation># pulses</translation>
    </message>
    <message>
        <source>any</source>
        <translation>any</translation>
    </message>
    <message>
        <source># pulses from</source>
        <translation># pulses from</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source># pulses to</source>
        <translation># pulses to</translation>
    </message>
    <message>
        <source>Frequency (Hz)</source>
        <translation>Frequency (Hz)</translation>
    </message>
    <message>
        <source>Frequency from</source>
        <translation>Frequency from</translation>
    </message>
    <message>
        <source>Frequency to</source>
        <translation>Frequency to</translation>
    </message>
    <message>
        <source>Intensity (%)</source>
        <translation>Intensity (%)</translation>
    </message>
    <message>
        <source>Intensity from</source>
        <translation>Intensity from</translation>
    </message>
    <message>
        <source>Intensity to</source>
        <translation>Intensity to</translation>
    </message>
    <message>
        <source>Coil type</source>
        <translation>Coil type</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>color: #a00000;</source>
        <translation>color: #a00000;</translation>
    </message>
    <message>
        <source>Click a cell or move with the arrow keys to see its drawings</source>
        <translation>Click a cell or move with the arrow keys to see its drawings</translation>
    </message>
    <message>
        <source>Density of the cell's drawings</source>
        <translation>Density of the cell's drawings</translation>
    </message>
    <message>
        <source>Save &amp;map...</source>
        <translation>Save &amp;map...</translation>
    </message>
    <message>
        <source>Save &amp;density...</source>
        <translation>Save &amp;density...</translation>
    </message>
    <message>
        <source>Save &amp;numbers...</source>
        <translation>Save &amp;numbers...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source># pulses (from)</source>
        <translation># pulses (from)</translation>
    </message>
    <message>
        <source># pulses (to)</source>
        <translation># pulses (to)</translation>
    </message>
    <message>
        <source>Frequency (from)</source>
        <translation>Frequency (from)</translation>
    </message>
    <message>
        <source>Frequency (to)</source>
        <translation>Frequency (to)</translation>
    </message>
    <message>
        <source>Intensity (from)</source>
        <translation>Intensity (from)</translation>
    </message>
    <message>
        <source>Intensity (to)</source>
        <translation>Intensity (to)</translation>
    </message>
    <message>
        <source>- Any</source>
        <translation>- Any</translation>
    </message>
    <message>
        <source>Save the phosphene map</source>
        <translation>Save the phosphene map</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG picture (*.png)</translation>
    </message>
    <message>
        <source>Save the density of the cell's drawings</source>
        <translation>Save the density of the cell's drawings</translation>
    </message>
    <message>
        <source>Save the numbers of the map</source>
        <translation>Save the numbers of the map</translation>
    </message>
    <message>
        <source>CSV table (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>
The map waits until the bounds are whole numbers or empty.</source>
        <translation>
The map waits until the bounds are whole numbers or empty.</translation>
    </message>
    <message>
        <source>Choose one subject or more.</source>
        <translation>Choose one subject or more.</translation>
    </message>
    <message>
        <source>%1 stimuli of %2 subjects on the map%3. Each cell: phosphene rate, stimuli (n), answers yes/no/doubt.</source>
        <translation>%1 stimuli of %2 subjects on the map%3. Each cell: phosphene rate, stimuli (n), answers yes/no/doubt.</translation>
    </message>
    <message>
        <source>; %1 more count for no cell</source>
        <translation>; %1 more count for no cell</translation>
    </message>
    <message>
        <source>Cell %1: %2 stimuli, %3 yes, %4 no, %5 doubt; %6 drawings.</source>
        <translation>Cell %1: %2 stimuli, %3 yes, %4 no, %5 doubt; %6 drawings.</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>On the MR</source>
        <translation>On the MR</translation>
    </message>
    <message>
        <source>Targets on the MR</source>
        <translation>Targets on the MR</translation>
    </message>
    <message>
        <source>Click a target to see the drawings of its cell</source>
        <translation>Click a target to see the drawings of its cell</translation>
    </message>
    <message>
        <source>De&amp;pth (mm)</source>
        <translation>De&amp;pth (mm)</translation>
    </message>
    <message>
        <source>Save si&amp;tes...</source>
        <translation>Save si&amp;tes...</translation>
    </message>
    <message>
        <source>Save &amp;overlay...</source>
        <translation>Save &amp;overlay...</translation>
    </message>
    <message>
        <source>Save the stimulation sites</source>
        <translation>Save the stimulation sites</translation>
    </message>
    <message>
        <source>TSV table (*.tsv)</source>
        <translation>TSV table (*.tsv)</translation>
    </message>
    <message>
        <source>Save the sites as an overlay of the MR</source>
        <translation>Save the sites as an overlay of the MR</translation>
    </message>
    <message>
        <source>NIfTI volume (*.nii.gz *.nii)</source>
        <translation>NIfTI volume (*.nii.gz *.nii)</translation>
    </message>
    <message>
        <source>The map has nothing to show yet.</source>
        <translation>The map has nothing to show yet.</translation>
    </message>
    <message>
        <source>Choose one subject to see its targets on its MR.</source>
        <translation>Choose one subject to see its targets on its MR.</translation>
    </message>
    <message>
        <source>Subject %1 has no stored MR calibration: load its associated MR and accept the point selection.</source>
        <translation>Subject %1 has no stored MR calibration: load its associated MR and accept the point selection.</translation>
    </message>
    <message>
        <source>Subject %1: targets on the straight line to the head centre.</source>
        <translation>Subject %1: targets on the straight line to the head centre.</translation>
    </message>
    <message>
        <source>In the brain</source>
        <translation>In the brain</translation>
    </message>
    <message>
        <source>Targets in the brain</source>
        <translation>Targets in the brain</translation>
    </message>
    <message>
        <source>The chosen subjects' targets on the template head, seen from behind, coloured by their phosphene rate; click one to see the drawings of its cell</source>
        <translation>The chosen subjects' targets on the template head, seen from behind, coloured by their phosphene rate; click one to see the drawings of its cell</translation>
    </message>
    <message>
        <source>Areas reached</source>
        <translation>Areas reached</translation>
    </message>
    <message>
        <source>No&amp;rmalise...</source>
        <translation>No&amp;rmalise...</translation>
    </message>
    <message>
        <source>Save &amp;group map...</source>
        <translation>Save &amp;group map...</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Subjects</source>
        <translation>Subjects</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>Stimuli</source>
        <translation>Stimuli</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Doubt</source>
        <translation>Doubt</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>Save the group map</source>
        <translation>Save the group map</translation>
    </message>
    <message>
        <source>No&amp;rmalise subject %1...</source>
        <translation>No&amp;rmalise subject %1...</translation>
    </message>
    <message>
        <source>None of the chosen subjects is normalised, or none of their cells has stimuli of this type. A calibrated subject is normalised with Normalise....</source>
        <translation>None of the chosen subjects is normalised, or none of their cells has stimuli of this type. A calibrated subject is normalised with Normalise....</translation>
    </message>
    <message>
        <source>%1 targets of %2 subjects in MNI space.</source>
        <translation>%1 targets of %2 subjects in MNI space.</translation>
    </message>
    <message>
        <source>Left out: %1</source>
        <translation>Left out: %1</translation>
    </message>
    <message>
        <source>subject %1, cell %2</source>
        <translation>subject %1, cell %2</translation>
    </message>
    <message>
        <source>%1 template seen from behind; targets %2 mm deep</source>
        <translation>%1 template seen from behind; targets %2 mm deep</translation>
    </message>
</context>
<context>
    <name>Query</name>
    <message>
        <source>The study holds %1 in the column %2 of the table %3, where only whole numbers from %4 to %5 fit</source>
        <translation>The study holds %1 in the column %2 of the table %3, where only whole numbers from %4 to %5 fit</translation>
    </message>
    <message>
        <source>The study could not be read to its end</source>
        <translation>The study could not be read to its end</translation>
    </message>
</context>
<context>
    <name>ReportOutput</name>
    <message>
        <source>There is no default printer</source>
        <translation>There is no default printer</translation>
    </message>
    <message>
        <source>Subject report</source>
        <translation>Subject report</translation>
    </message>
    <message>
        <source>the report could not be laid out</source>
        <translation>the report could not be laid out</translation>
    </message>
</context>
<context>
    <name>ReportPage</name>
    <message>
        <source>The printer cannot start the document</source>
        <translation>The printer cannot start the document</translation>
    </message>
    <message>
        <source>The printer cannot start a new page</source>
        <translation>The printer cannot start a new page</translation>
    </message>
    <message>
        <source>The printer cannot finish the document</source>
        <translation>The printer cannot finish the document</translation>
    </message>
</context>
<context>
    <name>ReviewModel</name>
    <message>
        <source>Edit experiments</source>
        <translation>Edit experiments</translation>
    </message>
    <message>
        <source>View experiments</source>
        <translation>View experiments</translation>
    </message>
</context>
<context>
    <name>SafeWrite</name>
    <message>
        <source>it is a symbolic link; nothing is written through one</source>
        <translation>it is a symbolic link; nothing is written through one</translation>
    </message>
    <message>
        <source>only part of the file reached the disk</source>
        <translation>only part of the file reached the disk</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>no file name was given</source>
        <translation>no file name was given</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, a FIFO or a folder); nothing replaces it</source>
        <translation>it is not a regular file (a device, a FIFO or a folder); nothing replaces it</translation>
    </message>
</context>
<context>
    <name>SeriesLoader</name>
    <message>
        <source>Cannot create the picture cache %1</source>
        <translation>Cannot create the picture cache %1</translation>
    </message>
    <message>
        <source>Cannot write the pictures of the volume to %1</source>
        <translation>Cannot write the pictures of the volume to %1</translation>
    </message>
</context>
<context>
    <name>ServerStudy</name>
    <message>
        <source>Cannot read which tables the study has</source>
        <translation>Cannot read which tables the study has</translation>
    </message>
    <message>
        <source>not a connection URI</source>
        <translation>not a connection URI</translation>
    </message>
    <message>
        <source>The server address cannot be read: </source>
        <translation>The server address cannot be read: </translation>
    </message>
    <message>
        <source>This installation cannot reach PostgreSQL servers (the Qt driver QPSQL is missing; on Debian it is the package libqt6sql6-psql).</source>
        <translation>This installation cannot reach PostgreSQL servers (the Qt driver QPSQL is missing; on Debian it is the package libqt6sql6-psql).</translation>
    </message>
    <message>
        <source>The server refused the connection: </source>
        <translation>The server refused the connection: </translation>
    </message>
    <message>
        <source>Cannot take the study's write lock</source>
        <translation>Cannot take the study's write lock</translation>
    </message>
    <message>
        <source>The server lets the role %1 read this study but not change it: recording, correcting and editing subjects are off.</source>
        <translation>The server lets the role %1 read this study but not change it: recording, correcting and editing subjects are off.</translation>
    </message>
</context>
<context>
    <name>ServerStudyDialog</name>
    <message>
        <source>Open server study</source>
        <translation>Open server study</translation>
    </message>
    <message>
        <source>&amp;Host</source>
        <translation>&amp;Host</translation>
    </message>
    <message>
        <source>this computer, or a socket folder such as /run/postgresql</source>
        <translation>this computer, or a socket folder such as /run/postgresql</translation>
    </message>
    <message>
        <source>&amp;Port</source>
        <translation>&amp;Port</translation>
    </message>
    <message>
        <source>5432</source>
        <translation>5432</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>&amp;Database</translation>
    </message>
    <message>
        <source>&amp;User</source>
        <translation>&amp;User</translation>
    </message>
    <message>
        <source>your login name</source>
        <translation>your login name</translation>
    </message>
    <message>
        <source>The password is asked for when the server wants one (or read from ~/.pgpass) and is never stored.</source>
        <translation>The password is asked for when the server wants one (or read from ~/.pgpass) and is never stored.</translation>
    </message>
</context>
<context>
    <name>SharedQueries</name>
    <message>
        <source>Cannot read the study</source>
        <translation>Cannot read the study</translation>
    </message>
    <message>
        <source>Cannot store the MR directory of the subject</source>
        <translation>Cannot store the MR directory of the subject</translation>
    </message>
</context>
<context>
    <name>SitesPicture</name>
    <message>
        <source>Phosphene rate</source>
        <translation>Phosphene rate</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Seen from behind; targets %1 mm deep</source>
        <translation>Seen from behind; targets %1 mm deep</translation>
    </message>
</context>
<context>
    <name>StimulationComparison</name>
    <message>
        <source>empty: type a whole number</source>
        <translation>empty: type a whole number</translation>
    </message>
    <message>
        <source>"%1" is not a whole number</source>
        <translation>"%1" is not a whole number</translation>
    </message>
    <message>
        <source>The filter has bounds that are not whole numbers</source>
        <translation>The filter has bounds that are not whole numbers</translation>
    </message>
    <message>
        <source>Cannot read the stimuli to compare</source>
        <translation>Cannot read the stimuli to compare</translation>
    </message>
</context>
<context>
    <name>StimulationSites</name>
    <message>
        <source>No volume could be built from %1</source>
        <translation>No volume could be built from %1</translation>
    </message>
    <message>
        <source>A depth of %1 mm reaches past the head centre, %2 mm beneath the scalp at cell %3.</source>
        <translation>A depth of %1 mm reaches past the head centre, %2 mm beneath the scalp at cell %3.</translation>
    </message>
    <message>
        <source>Subject %1: %2</source>
        <translation>Subject %1: %2</translation>
    </message>
    <message>
        <source>Subject %1 was normalised on another series than the one calibrated; normalise it again</source>
        <translation>Subject %1 was normalised on another series than the one calibrated; normalise it again</translation>
    </message>
</context>
<context>
    <name>StimulusStore</name>
    <message>
        <source>Cannot read the stimulation points</source>
        <translation>Cannot read the stimulation points</translation>
    </message>
    <message>
        <source>Cannot store the stimulation point</source>
        <translation>Cannot store the stimulation point</translation>
    </message>
    <message>
        <source>Cannot store the stimulus</source>
        <translation>Cannot store the stimulus</translation>
    </message>
    <message>
        <source>Cannot read the stimuli of the point</source>
        <translation>Cannot read the stimuli of the point</translation>
    </message>
    <message>
        <source>Cannot delete the stimulus</source>
        <translation>Cannot delete the stimulus</translation>
    </message>
    <message>
        <source>Cannot delete the stimulation point</source>
        <translation>Cannot delete the stimulation point</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>Cannot read the stimuli</translation>
    </message>
    <message>
        <source>Cannot read the points of the experiment</source>
        <translation>Cannot read the points of the experiment</translation>
    </message>
</context>
<context>
    <name>StoredCalibration</name>
    <message>
        <source>The aiming at cell %1 of subject %2 meets the scalp at the head centre.</source>
        <translation>The aiming at cell %1 of subject %2 meets the scalp at the head centre.</translation>
    </message>
    <message>
        <source>no NIfTI header</source>
        <translation>no NIfTI header</translation>
    </message>
    <message>
        <source>The stored MR calibration of subject %1 is refused: %2 (%3, %4, %5) lies outside the volume of %6 x %7 x %8 voxels. Mark the landmarks again.</source>
        <translation>The stored MR calibration of subject %1 is refused: %2 (%3, %4, %5) lies outside the volume of %6 x %7 x %8 voxels. Mark the landmarks again.</translation>
    </message>
</context>
<context>
    <name>StoredValue</name>
    <message>
        <source>Cannot read the table %1</source>
        <translation>Cannot read the table %1</translation>
    </message>
    <message>
        <source>%1: in the table %2, row %3, column %4, the text "%5" is not valid UTF-8.</source>
        <translation>%1: in the table %2, row %3, column %4, the text "%5" is not valid UTF-8.</translation>
    </message>
</context>
<context>
    <name>Study</name>
    <message>
        <source>Cannot create the aiming table</source>
        <translation>Cannot create the aiming table</translation>
    </message>
    <message>
        <source>Cannot create the drawings table</source>
        <translation>Cannot create the drawings table</translation>
    </message>
    <message>
        <source>Cannot set the study's version</source>
        <translation>Cannot set the study's version</translation>
    </message>
    <message>
        <source>It was made by an earlier version and could not be brought up to date: </source>
        <translation>It was made by an earlier version and could not be brought up to date: </translation>
    </message>
    <message>
        <source>It is not a ZoKorvane study: it has no table %1.</source>
        <translation>It is not a ZoKorvane study: it has no table %1.</translation>
    </message>
    <message>
        <source>Its study version is %1; this version of ZoKorvane works on version %2.</source>
        <translation>Its study version is %1; this version of ZoKorvane works on version %2.</translation>
    </message>
    <message>
        <source>No file was given.</source>
        <translation>No file was given.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>It is a folder, not a data base file.</source>
        <translation>It is a folder, not a database file.</translation>
    </message>
    <message>
        <source>The file cannot be read (permission denied).</source>
        <translation>The file cannot be read (permission denied).</translation>
    </message>
    <message>
        <source>It is a legacy Access data base (.mdb); it has to be imported first.</source>
        <translation>It is a legacy Access database (.mdb); it has to be imported first.</translation>
    </message>
    <message>
        <source>The file is read-only; experiments could not be stored in it.</source>
        <translation>The file is read-only; experiments could not be stored in it.</translation>
    </message>
    <message>
        <source>Its folder is read-only; the data base engine needs to write beside the file.</source>
        <translation>Its folder is read-only; the database engine needs to write beside the file.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>The file is empty; it is not a ZoKorvane study.</source>
        <translation>The file is empty; it is not a ZoKorvane study.</translation>
    </message>
    <message>
        <source>It is not a ZoKorvane study (not an SQLite data base).</source>
        <translation>It is not a ZoKorvane study (not an SQLite database).</translation>
    </message>
    <message>
        <source>The data base engine cannot open it: </source>
        <translation>The database engine cannot open it: </translation>
    </message>
    <message>
        <source>It is in use by another program. Close it there and try again.</source>
        <translation>It is in use by another program. Close it there and try again.</translation>
    </message>
    <message>
        <source>It was made by a newer version of ZoKorvane (study version %1); this one reads versions up to %2.</source>
        <translation>It was made by a newer version of ZoKorvane (study version %1); this one reads versions up to %2.</translation>
    </message>
    <message>
        <source>Cannot create the tables</source>
        <translation>Cannot create the tables</translation>
    </message>
    <message>
        <source>Cannot create the study %1: %2</source>
        <translation>Cannot create the study %1: %2</translation>
    </message>
    <message>
        <source>Cannot create the study %1: the database already has tables; a new study goes into an empty database.</source>
        <translation>Cannot create the study %1: the database already has tables; a new study goes into an empty database.</translation>
    </message>
    <message>
        <source>No file name was given for the new study.</source>
        <translation>No file name was given for the new study.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>The folder %1 does not exist.</translation>
    </message>
    <message>
        <source>%1 drawings named by stimuli were missing: %2</source>
        <translation>%1 drawings named by stimuli were missing: %2</translation>
    </message>
    <message>
        <source>%1 drawings were not copied: %2</source>
        <translation>%1 drawings were not copied: %2</translation>
    </message>
    <message>
        <source>%1 already exists; a new study is never written over a file.</source>
        <translation>%1 already exists; a new study is never written over a file.</translation>
    </message>
    <message>
        <source>Cannot create the MR calibration table</source>
        <translation>Cannot create the MR calibration table</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>Cannot read the subjects</translation>
    </message>
    <message>
        <source>Cannot store the subjects</source>
        <translation>Cannot store the subjects</translation>
    </message>
    <message>
        <source>%1 ages, heights or weights typed with a decimal comma now read as numbers.</source>
        <translation>%1 ages, heights or weights typed with a decimal comma now read as numbers.</translation>
    </message>
    <message>
        <source>The study was made by an earlier version and has been brought up to date.</source>
        <translation>The study was made by an earlier version and has been brought up to date.</translation>
    </message>
    <message>
        <source>It was made by an earlier version and has to be brought up to date, but the backup copy %1 cannot be written: %2</source>
        <translation>It was made by an earlier version and has to be brought up to date, but the backup copy %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>%1 drawings were copied into the study from %2, which is left as it was.</source>
        <translation>%1 drawings were copied into the study from %2, which is left as it was.</translation>
    </message>
    <message>
        <source>The study was made by an earlier version and has been brought up to date; a copy of it as it was is %1.</source>
        <translation>The study was made by an earlier version and has been brought up to date; a copy of it as it was is %1.</translation>
    </message>
    <message>
        <source>Cannot create the normalisation table</source>
        <translation>Cannot create the normalisation table</translation>
    </message>
</context>
<context>
    <name>StudyBackup</name>
    <message>
        <source>Cannot keep the study&apos;s identity</source>
        <translation>Cannot keep the study&apos;s identity</translation>
    </message>
    <message>
        <source>it is the study itself</source>
        <translation>it is the study itself</translation>
    </message>
    <message>
        <source>a file of that name exists and is not a backup of this study; a backup never replaces another file</source>
        <translation>a file of that name exists and is not a backup of this study; a backup never replaces another file</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>a server study is backed up by its server (pg_dump)</source>
        <translation>a server study is backed up by its server (pg_dump)</translation>
    </message>
    <message>
        <source>no study is open</source>
        <translation>no study is open</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>Cannot create the backup folder %1</source>
        <translation>Cannot create the backup folder %1</translation>
    </message>
    <message>
        <source>the study held %1 backup identities</source>
        <translation>the study held %1 backup identities</translation>
    </message>
    <message>
        <source>its backup identity was not 8 or 32 lowercase hex digits</source>
        <translation>its backup identity was not 8 or 32 lowercase hex digits</translation>
    </message>
    <message>
        <source>its backup identity was made for the study at %1; this copy gets its own</source>
        <translation>its backup identity was made for the study at %1; this copy gets its own</translation>
    </message>
    <message>
        <source>A new backup identity was made for %1: %2.</source>
        <translation>A new backup identity was made for %1: %2.</translation>
    </message>
</context>
<context>
    <name>StudyCopy</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>Cannot copy into the table %1</source>
        <translation>Cannot copy into the table %1</translation>
    </message>
    <message>
        <source>The copy of the table %1 differs from the original (%2 rows against %3)</source>
        <translation>The copy of the table %1 differs from the original (%2 rows against %3)</translation>
    </message>
    <message>
        <source>the text "%1" is not valid UTF-8</source>
        <translation>the text "%1" is not valid UTF-8</translation>
    </message>
    <message>
        <source>the text "%1" holds a NUL character, which a server cannot store</source>
        <translation>the text "%1" holds a NUL character, which a server cannot store</translation>
    </message>
    <message>
        <source>it holds binary data, which the server keeps nowhere there</source>
        <translation>it holds binary data, which the server keeps nowhere there</translation>
    </message>
    <message>
        <source>%1 is a number where text belongs</source>
        <translation>%1 is a number where text belongs</translation>
    </message>
    <message>
        <source>"%1" is not a date and time written yyyy-MM-dd HH:mm:ss</source>
        <translation>"%1" is not a date and time written yyyy-MM-dd HH:mm:ss</translation>
    </message>
    <message>
        <source>"%1" is neither 0 nor 1</source>
        <translation>"%1" is neither 0 nor 1</translation>
    </message>
    <message>
        <source>"%1" is text where the server keeps a whole number</source>
        <translation>"%1" is text where the server keeps a whole number</translation>
    </message>
    <message>
        <source>"%1" is text where the server keeps a number</source>
        <translation>"%1" is text where the server keeps a number</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 is not a whole number</translation>
    </message>
    <message>
        <source>%1 is beyond what the server keeps there (%2 to %3)</source>
        <translation>%1 is beyond what the server keeps there (%2 to %3)</translation>
    </message>
    <message>
        <source>Nothing was copied: in the table %1, row %2, column %3, %4.</source>
        <translation>Nothing was copied: in the table %1, row %2, column %3, %4.</translation>
    </message>
    <message>
        <source>Cannot copy into %1: %2</source>
        <translation>Cannot copy into %1: %2</translation>
    </message>
    <message>
        <source>Cannot copy into %1: the database already has tables; a copy goes into an empty database.</source>
        <translation>Cannot copy into %1: the database already has tables; a copy goes into an empty database.</translation>
    </message>
    <message>
        <source>%1 already exists; a copy is never written over a file.</source>
        <translation>%1 already exists; a copy is never written over a file.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>the text "%1" would be read back from a study file as a number, not as the text it is</source>
        <translation>the text "%1" would be read back from a study file as a number, not as the text it is</translation>
    </message>
    <message>
        <source>Nothing was copied: the table %1 is not part of a ZoKorvane study, and a copy would leave it out.</source>
        <translation>Nothing was copied: the table %1 is not part of a ZoKorvane study, and a copy would leave it out.</translation>
    </message>
</context>
<context>
    <name>StudyDrawings</name>
    <message>
        <source>Cannot export into %1: %2</source>
        <translation>Cannot export into %1: %2</translation>
    </message>
    <message>
        <source>it is a file, not a folder</source>
        <translation>it is a file, not a folder</translation>
    </message>
    <message>
        <source>the folder is not empty. Choose a new or empty folder.</source>
        <translation>the folder is not empty. Choose a new or empty folder.</translation>
    </message>
    <message>
        <source>Cannot read the drawing</source>
        <translation>Cannot read the drawing</translation>
    </message>
    <message>
        <source>Cannot store the drawing</source>
        <translation>Cannot store the drawing</translation>
    </message>
    <message>
        <source>Cannot delete the drawing</source>
        <translation>Cannot delete the drawing</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>Cannot read the stimuli</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>Cannot create the folder %1.</translation>
    </message>
    <message>
        <source>Cannot read the drawings</source>
        <translation>Cannot read the drawings</translation>
    </message>
</context>
<context>
    <name>StudyExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>Cannot count the stimuli</source>
        <translation>Cannot count the stimuli</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>Cannot read the subjects</translation>
    </message>
    <message>
        <source>Cannot export into %1: it is a file, not a folder</source>
        <translation>Cannot export into %1: it is a file, not a folder</translation>
    </message>
    <message>
        <source>Cannot export into %1: the folder is not empty. Choose a new or empty folder.</source>
        <translation>Cannot export into %1: the folder is not empty. Choose a new or empty folder.</translation>
    </message>
    <message>
        <source>Cannot write into %1: the folder cannot be created there</source>
        <translation>Cannot write into %1: the folder cannot be created there</translation>
    </message>
    <message>
        <source>Cannot read the stimuli</source>
        <translation>Cannot read the stimuli</translation>
    </message>
    <message>
        <source>The export was stopped</source>
        <translation>The export was stopped</translation>
    </message>
    <message>
        <source>%1 stimuli belong to no subject of the study and are not in the dataset</source>
        <translation>%1 stimuli belong to no subject of the study and are not in the dataset</translation>
    </message>
    <message>
        <source>Cannot replace the empty folder %1</source>
        <translation>Cannot replace the empty folder %1</translation>
    </message>
    <message>
        <source>Cannot write %1: the finished export could not be moved there</source>
        <translation>Cannot write %1: the finished export could not be moved there</translation>
    </message>
    <message>
        <source>Subject %1 is exported without its MR and sites: %2</source>
        <translation>Subject %1 is exported without its MR and sites: %2</translation>
    </message>
    <message>
        <source>Cannot export the study</source>
        <translation>Cannot export the study</translation>
    </message>
    <message>
        <source>Subject %1 is exported without MNI coordinates: it was normalised on another series than the one calibrated</source>
        <translation>Subject %1 is exported without MNI coordinates: it was normalised on another series than the one calibrated</translation>
    </message>
</context>
<context>
    <name>SubjectAiming</name>
    <message>
        <source>Cannot read the subject's aiming</source>
        <translation>Cannot read the subject's aiming</translation>
    </message>
    <message>
        <source>Cannot store the subject's aiming</source>
        <translation>Cannot store the subject's aiming</translation>
    </message>
    <message>
        <source>The stored aiming of subject %1 is refused: %2 holds '%3', which the program never stores there. Normalise the subject again.</source>
        <translation>The stored aiming of subject %1 is refused: %2 holds '%3', which the program never stores there. Normalise the subject again.</translation>
    </message>
</context>
<context>
    <name>SubjectCalibration</name>
    <message>
        <source>Cannot read the subject's MR calibration</source>
        <translation>Cannot read the subject's MR calibration</translation>
    </message>
    <message>
        <source>Cannot store the subject's MR calibration</source>
        <translation>Cannot store the subject's MR calibration</translation>
    </message>
    <message>
        <source>The stored MR calibration of subject %1 is refused: %2 holds '%3', which the program never stores there. Mark the landmarks again.</source>
        <translation>The stored MR calibration of subject %1 is refused: %2 holds '%3', which the program never stores there. Mark the landmarks again.</translation>
    </message>
</context>
<context>
    <name>SubjectLock</name>
    <message>
        <source>Cannot give subject %1 back to the other stations; it stays busy for them until this program closes the study. %2</source>
        <translation>Cannot give subject %1 back to the other stations; it stays busy for them until this program closes the study. %2</translation>
    </message>
    <message>
        <source>Cannot ask the server whether subject %1 is free</source>
        <translation>Cannot ask the server whether subject %1 is free</translation>
    </message>
    <message>
        <source>Subject %1 is being recorded or corrected at another station. Try again when that station has finished with the subject.</source>
        <translation>Subject %1 is being recorded or corrected at another station. Try again when that station has finished with the subject.</translation>
    </message>
</context>
<context>
    <name>SubjectNormalisation</name>
    <message>
        <source>a matrix entry is not a finite number</source>
        <translation>a matrix entry is not a finite number</translation>
    </message>
    <message>
        <source>the matrix's last row is not 0 0 0 1</source>
        <translation>the matrix's last row is not 0 0 0 1</translation>
    </message>
    <message>
        <source>the matrix cannot be inverted</source>
        <translation>the matrix cannot be inverted</translation>
    </message>
    <message>
        <source>no template is named</source>
        <translation>no template is named</translation>
    </message>
    <message>
        <source>the template's SHA-256 is not 64 hex digits</source>
        <translation>the template's SHA-256 is not 64 hex digits</translation>
    </message>
    <message>
        <source>no series fingerprint</source>
        <translation>no series fingerprint</translation>
    </message>
    <message>
        <source>the metric is not a finite number</source>
        <translation>the metric is not a finite number</translation>
    </message>
    <message>
        <source>no time of acceptance</source>
        <translation>no time of acceptance</translation>
    </message>
    <message>
        <source>Cannot read the subject's normalisation</source>
        <translation>Cannot read the subject's normalisation</translation>
    </message>
    <message>
        <source>The stored normalisation of subject %1 is damaged: %2</source>
        <translation>The stored normalisation of subject %1 is damaged: %2</translation>
    </message>
    <message>
        <source>Cannot store the subject's normalisation</source>
        <translation>Cannot store the subject's normalisation</translation>
    </message>
</context>
<context>
    <name>SubjectReport</name>
    <message>
        <source>Cannot read the subject's experiments</source>
        <translation>Cannot read the subject's experiments</translation>
    </message>
    <message>
        <source>Index: </source>
        <translation>Index: </translation>
    </message>
    <message>
        <source>Subject: </source>
        <translation>Subject: </translation>
    </message>
    <message>
        <source>Experiment: </source>
        <translation>Experiment: </translation>
    </message>
    <message>
        <source>Intensity: </source>
        <translation>Intensity: </translation>
    </message>
    <message>
        <source>Color: </source>
        <translation>Colour: </translation>
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
        <translation>Name</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>First surname</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Second surname</translation>
    </message>
    <message>
        <source>Age</source>
        <translation>Age</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Center row</source>
        <translation>Centre row</translation>
    </message>
    <message>
        <source>Center column</source>
        <translation>Centre column</translation>
    </message>
    <message>
        <source>Observations</source>
        <translation>Observations</translation>
    </message>
    <message>
        <source>Cannot read the subjects</source>
        <translation>Cannot read the subjects</translation>
    </message>
    <message>
        <source>a value is needed.</source>
        <translation>a value is needed.</translation>
    </message>
    <message>
        <source>"%1" is not a number.</source>
        <translation>"%1" is not a number.</translation>
    </message>
    <message>
        <source>"%1" is not a whole number.</source>
        <translation>"%1" is not a whole number.</translation>
    </message>
    <message>
        <source>the identifier must be 1 or more.</source>
        <translation>the identifier must be 1 or more.</translation>
    </message>
    <message>
        <source>%1 is off the grid; the centre %2 must be from 0 to %3.</source>
        <translation>%1 is off the grid; the centre %2 must be from 0 to %3.</translation>
    </message>
    <message>
        <source>row</source>
        <translation>row</translation>
    </message>
    <message>
        <source>column</source>
        <translation>column</translation>
    </message>
    <message>
        <source>The subject %1 is no longer in the study.</source>
        <translation>The subject %1 is no longer in the study.</translation>
    </message>
    <message>
        <source>another subject already has the identifier %1.</source>
        <translation>another subject already has the identifier %1.</translation>
    </message>
    <message>
        <source>the subject's stimulation points are recorded under the identifier %1, so it cannot be changed.</source>
        <translation>the subject's stimulation points are recorded under the identifier %1, so it cannot be changed.</translation>
    </message>
    <message>
        <source>Cannot store the subject</source>
        <translation>Cannot store the subject</translation>
    </message>
</context>
<context>
    <name>Tool</name>
    <message>
        <source>not written, a drawing of that name was written already: %1</source>
        <translation>not written, a drawing of that name was written already: %1</translation>
    </message>
    <message>
        <source>Wrote %1 slices of %2 x %2 pixels to %3; head centre (%4, %5, %6), radii (%7, %8, %9) voxels</source>
        <translation>Wrote %1 slices of %2 x %2 pixels to %3; head centre (%4, %5, %6), radii (%7, %8, %9) voxels</translation>
    </message>
    <message>
        <source>%1 is neither a folder nor a NIfTI file (.nii, .nii.gz)</source>
        <translation>%1 is neither a folder nor a NIfTI file (.nii, .nii.gz)</translation>
    </message>
    <message>
        <source>--series and --series-index name the same thing: give one</source>
        <translation>--series and --series-index name the same thing: give one</translation>
    </message>
    <message>
        <source>%1 holds no series numbered %2 (its series numbers: %3; --series-index N takes the N-th series as listed)</source>
        <translation>%1 holds no series numbered %2 (its series numbers: %3; --series-index N takes the N-th series as listed)</translation>
    </message>
    <message>
        <source>--export-volume takes a file name ending in .nii or .nii.gz</source>
        <translation>--export-volume takes a file name ending in .nii or .nii.gz</translation>
    </message>
    <message>
        <source>no volume could be built from %1</source>
        <translation>no volume could be built from %1</translation>
    </message>
    <message>
        <source>--landmarks takes three voxel points X,Y,Z separated by ':'</source>
        <translation>--landmarks takes three voxel points X,Y,Z separated by ':'</translation>
    </message>
    <message>
        <source>Wrote the plan of 50 cells to %1</source>
        <translation>Wrote the plan of 50 cells to %1</translation>
    </message>
    <message>
        <source>Created %1</source>
        <translation>Created %1</translation>
    </message>
    <message>
        <source>cannot read the drawing %1: %2</source>
        <translation>cannot read the drawing %1: %2</translation>
    </message>
    <message>
        <source>Wrote %1</source>
        <translation>Wrote %1</translation>
    </message>
    <message>
        <source>drawings copied into the study: %1</source>
        <translation>drawings copied into the study: %1</translation>
    </message>
    <message>
        <source>drawing missing or unreadable: %1</source>
        <translation>drawing missing or unreadable: %1</translation>
    </message>
    <message>
        <source>not carried over exactly: %1</source>
        <translation>not carried over exactly: %1</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>there is no subject %1 in %2</source>
        <translation>there is no subject %1 in %2</translation>
    </message>
    <message>
        <source>Created the demo study %1</source>
        <translation>Created the demo study %1</translation>
    </message>
    <message>
        <source>unknown command '%1'</source>
        <translation>unknown command '%1'</translation>
    </message>
    <message>
        <source>--%1 takes a whole number from %2 to %3, not '%4'</source>
        <translation>--%1 takes a whole number from %2 to %3, not '%4'</translation>
    </message>
    <message>
        <source>--answer takes yes, no or doubt</source>
        <translation>--answer takes yes, no or doubt</translation>
    </message>
    <message>
        <source>--date takes a date and time such as 2026-03-09T10:02:00</source>
        <translation>--date takes a date and time such as 2026-03-09T10:02:00</translation>
    </message>
    <message>
        <source>subject %1 has no stimulus of experiment %2 at cell %3</source>
        <translation>subject %1 has no stimulus of experiment %2 at cell %3</translation>
    </message>
    <message>
        <source>Deleted stimulus %1 of subject %2, cell %3, experiment %4</source>
        <translation>Deleted stimulus %1 of subject %2, cell %3, experiment %4</translation>
    </message>
    <message>
        <source>; its point, left without stimuli, was deleted too</source>
        <translation>; its point, left without stimuli, was deleted too</translation>
    </message>
    <message>
        <source>Added stimulus %1 (point %2, drawing %3) to subject %4, cell %5, experiment %6</source>
        <translation>Added stimulus %1 (point %2, drawing %3) to subject %4, cell %5, experiment %6</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Wrote %1 drawings to %2</source>
        <translation>Wrote %1 drawings to %2</translation>
    </message>
    <message>
        <source>not written, the name is not a plain file name: %1</source>
        <translation>not written, the name is not a plain file name: %1</translation>
    </message>
    <message>
        <source>--format takes tsv or nibs-bids</source>
        <translation>--format takes tsv or nibs-bids</translation>
    </message>
    <message>
        <source>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4</source>
        <translation>Exported %1 stimuli (%2 with drawings) of %3 subjects to %4</translation>
    </message>
    <message>
        <source>--%1 takes one of %2, not '%3'</source>
        <translation>--%1 takes one of %2, not '%3'</translation>
    </message>
    <message>
        <source>give --png, --csv or both</source>
        <translation>give --png, --csv or both</translation>
    </message>
    <message>
        <source>--subjects takes subject IDs separated by commas, not '%1'</source>
        <translation>--subjects takes subject IDs separated by commas, not '%1'</translation>
    </message>
    <message>
        <source>Mapped %1 stimuli</source>
        <translation>Mapped %1 stimuli</translation>
    </message>
    <message>
        <source> where %1</source>
        <translation> where %1</translation>
    </message>
    <message>
        <source>; %1 more count for no cell of the grid</source>
        <translation>; %1 more count for no cell of the grid</translation>
    </message>
    <message>
        <source>Copied and checked: every table of the copy equals the original</source>
        <translation>Copied and checked: every table of the copy equals the original</translation>
    </message>
    <message>
        <source>a server study is backed up by its server: pg_dump -Fc -f study.dump DATABASE</source>
        <translation>a server study is backed up by its server: pg_dump -Fc -f study.dump DATABASE</translation>
    </message>
    <message>
        <source>Backed up %1 to %2</source>
        <translation>Backed up %1 to %2</translation>
    </message>
    <message>
        <source>Today's backup is already in %1</source>
        <translation>Today's backup is already in %1</translation>
    </message>
    <message>
        <source>Removed the old backup %1</source>
        <translation>Removed the old backup %1</translation>
    </message>
    <message>
        <source>%1 cannot be recognised again; no calibration stored</source>
        <translation>%1 cannot be recognised again; no calibration stored</translation>
    </message>
    <message>
        <source>landmark %1 (%2, %3, %4) lies outside the volume of %5 x %6 x %7 voxels</source>
        <translation>landmark %1 (%2, %3, %4) lies outside the volume of %5 x %6 x %7 voxels</translation>
    </message>
    <message>
        <source>Stored the MR calibration of subject %1 on %2 (%3)</source>
        <translation>Stored the MR calibration of subject %1 on %2 (%3)</translation>
    </message>
    <message>
        <source>--depth takes millimetres from 0 to 200</source>
        <translation>--depth takes millimetres from 0 to 200</translation>
    </message>
    <message>
        <source>--nifti and --volume take file names ending in .nii or .nii.gz</source>
        <translation>--nifti and --volume take file names ending in .nii or .nii.gz</translation>
    </message>
    <message>
        <source>subject %1 has no stored MR calibration: accept the point selection of its MR, or run zokorvane-tool calibrate</source>
        <translation>subject %1 has no stored MR calibration: accept the point selection of its MR, or run zokorvane-tool calibrate</translation>
    </message>
    <message>
        <source>Wrote the sites of 50 cells of subject %1 to %2</source>
        <translation>Wrote the sites of 50 cells of subject %1 to %2</translation>
    </message>
    <message>
        <source>import-mdb writes a study file; copy-study then puts it on a server</source>
        <translation>import-mdb writes a study file; copy-study then puts it on a server</translation>
    </message>
    <message>
        <source>two outputs name the same file</source>
        <translation>two outputs name the same file</translation>
    </message>
    <message>
        <source>%1 % %2</source>
        <translation>%1 % %2</translation>
    </message>
    <message>
        <source>Subject %1 normalised to %2 (subject RAS mm -&gt; MNI RAS mm):</source>
        <translation>Subject %1 normalised to %2 (subject RAS mm -&gt; MNI RAS mm):</translation>
    </message>
    <message>
        <source>scales x y z: %1</source>
        <translation>scales x y z: %1</translation>
    </message>
    <message>
        <source>rotations about x y z (degrees): %1</source>
        <translation>rotations about x y z (degrees): %1</translation>
    </message>
    <message>
        <source>shift (mm): %1</source>
        <translation>shift (mm): %1</translation>
    </message>
    <message>
        <source>metric (Mattes mutual information): %1</source>
        <translation>metric (Mattes mutual information): %1</translation>
    </message>
    <message>
        <source>seconds: %1</source>
        <translation>seconds: %1</translation>
    </message>
    <message>
        <source>--depth takes millimetres from 0 to 200, --radius from 0.5 to 50</source>
        <translation>--depth takes millimetres from 0 to 200, --radius from 0.5 to 50</translation>
    </message>
    <message>
        <source>--nifti and --counts take file names ending in .nii or .nii.gz</source>
        <translation>--nifti and --counts take file names ending in .nii or .nii.gz</translation>
    </message>
    <message>
        <source>left out: %1</source>
        <translation>left out: %1</translation>
    </message>
    <message>
        <source>no chosen subject is normalised; run zokorvane-tool normalise</source>
        <translation>no chosen subject is normalised; run zokorvane-tool normalise</translation>
    </message>
    <message>
        <source>Pooled %1 targets of %2 subjects in %3 areas into %4</source>
        <translation>Pooled %1 targets of %2 subjects in %3 areas into %4</translation>
    </message>
</context>
<context>
    <name>Transaction</name>
    <message>
        <source>Cannot start a transaction</source>
        <translation>Cannot start a transaction</translation>
    </message>
    <message>
        <source>Cannot store the changes</source>
        <translation>Cannot store the changes</translation>
    </message>
</context>
<context>
    <name>elegirpaciente</name>
    <message>
        <source>Select subject</source>
        <translation>Select subject</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Subject: </source>
        <translation>Subject: </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Records and reviews the phosphenes evoked by transcranial magnetic stimulation.</source>
        <translation>Records and reviews the phosphenes evoked by transcranial magnetic stimulation.</translation>
    </message>
    <message>
        <source>Study file (.sqlite), or a server study's connection URI (postgresql://user@host/database), to open at start</source>
        <translation>Study file (.sqlite), or a server study's connection URI (postgresql://user@host/database), to open at start</translation>
    </message>
</context>
<context>
    <name>paciente</name>
    <message>
        <source>Edit subject</source>
        <translation>Edit subject</translation>
    </message>
    <message>
        <source>New subject</source>
        <translation>New subject</translation>
    </message>
    <message>
        <source>Subject form</source>
        <translation>Subject form</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>BLIND</source>
        <translation>BLIND</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>First name:</source>
        <translation>First surname:</translation>
    </message>
    <message>
        <source>Last name:</source>
        <translation>Second surname:</translation>
    </message>
    <message>
        <source>Age:</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>Weight:</source>
        <translation>Weight:</translation>
    </message>
    <message>
        <source>Rows:</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <source>Columns:</source>
        <translation>Columns:</translation>
    </message>
    <message>
        <source>Center:</source>
        <translation>Centre:</translation>
    </message>
    <message>
        <source>Row of the centre point</source>
        <translation>Row of the centre point</translation>
    </message>
    <message>
        <source>Column of the centre point</source>
        <translation>Column of the centre point</translation>
    </message>
    <message>
        <source>Observations:</source>
        <translation>Observations:</translation>
    </message>
    <message>
        <source>|&lt;</source>
        <translation>|&lt;</translation>
    </message>
    <message>
        <source>First subject</source>
        <translation>First subject</translation>
    </message>
    <message>
        <source>First</source>
        <translation>First</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>Previous subject</source>
        <translation>Previous subject</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>Next subject</source>
        <translation>Next subject</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>&gt;|</source>
        <translation>&gt;|</translation>
    </message>
    <message>
        <source>Last subject</source>
        <translation>Last subject</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>The subject cannot be stored.

</source>
        <translation>The subject cannot be stored.

</translation>
    </message>
    <message>
        <source>Subjects (%1/%2)</source>
        <translation>Subjects (%1/%2)</translation>
    </message>
    <message>
        <source>New Subject</source>
        <translation>New Subject</translation>
    </message>
    <message>
        <source>

Discard the changes to this subject?</source>
        <translation>

Discard the changes to this subject?</translation>
    </message>
</context>
<context>
    <name>zokorvane-tool</name>
    <message>
        <source>--size takes a number of pixels from 1 to 10000</source>
        <translation>--size takes a number of pixels from 1 to 10000</translation>
    </message>
    <message>
        <source>Imported %1 into %2: %3 subjects, %4 points, %5 stimuli</source>
        <translation>Imported %1 into %2: %3 subjects, %4 points, %5 stimuli</translation>
    </message>
</context>
</TS>
