' Saturated steam by temperature.
Public Class Steam
    Public Property Celsius As Double
    Public Function Pressure() As Double
        Return 0.61094 * Math.Exp(17.625 * Celsius / (Celsius + 243.04))
    End Function
End Class
