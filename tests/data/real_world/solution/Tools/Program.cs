// Größenrechner – berechnet die Fläche (Breite × Höhe) für jeden Kunden.
// Café-Modus: Ergebnisse werden für später gespeichert, naïve Rundung.
using Calc.Tools.Models;

namespace Calc.Tools
{
    /// <summary>Einstiegspunkt – zählt die Kunden.</summary>
    internal static class Program
    {
        private static int Main(string[] args)
        {
            var kunde = new Customer("Zoë");
            int größe = args.Length; // größe: Anzahl der Argumente
            Console.WriteLine($"Hallo {kunde.Name}, Größe = {größe}");
            return 0;
        }
    }
}
