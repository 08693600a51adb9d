using System.Reflection;
using System.Runtime.CompilerServices;

//
// General information about the assembly.
//
[assembly: AssemblyTitle("Pocket Calculator")]
[assembly: AssemblyDescription("A small calculator for the desktop")]
[assembly: AssemblyConfiguration("")]
[assembly: AssemblyCompany("")]
[assembly: AssemblyProduct("PocketCalc")]
[assembly: AssemblyCopyright("")]
[assembly: AssemblyTrademark("")]
[assembly: AssemblyCulture("")]

[assembly: AssemblyDelaySign(false)]
[assembly: AssemblyKeyFile("")]
[assembly: AssemblyKeyName("")]
