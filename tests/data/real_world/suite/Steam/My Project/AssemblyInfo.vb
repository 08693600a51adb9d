Imports System.Reflection

<Assembly: AssemblyTitle("Steam")>
<Assembly: AssemblyVersion("1.0.0.0")>
