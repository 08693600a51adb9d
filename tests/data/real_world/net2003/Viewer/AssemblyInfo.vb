Imports System
Imports System.Reflection
Imports System.Runtime.InteropServices

' General information about the assembly.
<Assembly: AssemblyTitle("Picture Viewer")>
<Assembly: AssemblyDescription("Shows the pictures of a folder")>
<Assembly: AssemblyCompany("")>
<Assembly: AssemblyProduct("Viewer")>
<Assembly: AssemblyCopyright("")>
<Assembly: CLSCompliant(True)>

<Assembly: AssemblyVersion("1.0.*")>
